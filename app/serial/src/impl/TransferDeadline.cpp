#include "serial/src/impl/TransferDeadline.h"

#include <algorithm>
#include <climits>

namespace serial {

namespace {

// Totals beyond this (about 34 years) count as no limit, which also keeps the
// time point arithmetic from overflowing.
constexpr uint64_t kLongestTotalMs = uint64_t(1) << 40;

int ceilMs(TransferDeadline::Clock::duration left)
{
    if (left <= TransferDeadline::Clock::duration::zero())
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<int64_t>(ms, INT_MAX));
}

} // namespace

TransferDeadline::TransferDeadline(Clock::time_point start, uint32_t constantMs, uint32_t multiplierMs, size_t size)
{
    if (constantMs == 0 && multiplierMs == 0)
        return;
    if (multiplierMs != 0 && size > (kLongestTotalMs - constantMs) / multiplierMs)
        return;
    const uint64_t totalMs = constantMs + uint64_t(size) * multiplierMs;
    m_hasTotalLimit = true;
    m_totalEnd = start + std::chrono::milliseconds(totalMs);
}

TransferDeadline TransferDeadline::forRead(const Timeout& timeout, size_t size, Clock::time_point start)
{
    TransferDeadline deadline(start, timeout.read_timeout_constant, timeout.read_timeout_multiplier, size);
    if (timeout.inter_byte_timeout == Timeout::kMax)
        deadline.m_endsAtOnce = timeout.read_timeout_constant == 0 && timeout.read_timeout_multiplier == 0;
    else
        deadline.m_gapMs = timeout.inter_byte_timeout;
    return deadline;
}

TransferDeadline TransferDeadline::forWrite(const Timeout& timeout, size_t size, Clock::time_point start)
{
    return TransferDeadline(start, timeout.write_timeout_constant, timeout.write_timeout_multiplier, size);
}

void TransferDeadline::byteArrived(Clock::time_point now)
{
    m_byteArrived = true;
    m_lastByte = now;
}

int TransferDeadline::waitMs(Clock::time_point now) const
{
    if (m_endsAtOnce)
        return 0;
    int wait = -1;
    if (m_hasTotalLimit)
        wait = ceilMs(m_totalEnd - now);
    if (m_gapMs != 0 && m_byteArrived) {
        const int gapWait = ceilMs(m_lastByte + std::chrono::milliseconds(m_gapMs) - now);
        wait = wait < 0 ? gapWait : std::min(wait, gapWait);
    }
    return wait;
}

} // namespace serial
