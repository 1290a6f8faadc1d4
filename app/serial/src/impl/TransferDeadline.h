#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "serial/Timeout.h"

namespace serial {

// When a read or a write of a given length has to give up waiting, following the
// time-outs of the port.
class TransferDeadline
{
public:
    using Clock = std::chrono::steady_clock;

    static TransferDeadline forRead(const Timeout& timeout, size_t size, Clock::time_point start);
    static TransferDeadline forWrite(const Timeout& timeout, size_t size, Clock::time_point start);

    // Restarts the gap limit between received bytes.
    void byteArrived(Clock::time_point now);

    // How long the transfer may still wait for the port: -1 without limit, 0 when
    // it has to end now.
    int waitMs(Clock::time_point now) const;

private:
    TransferDeadline(Clock::time_point start, uint32_t constantMs, uint32_t multiplierMs, size_t size);

    bool m_endsAtOnce = false;
    bool m_hasTotalLimit = false;
    Clock::time_point m_totalEnd;
    uint32_t m_gapMs = 0;
    bool m_byteArrived = false;
    Clock::time_point m_lastByte;
};

} // namespace serial
