#include "StopAnswerWatch.h"

void StopAnswerWatch::stopSent(Clock::time_point now)
{
    m_silentSince = now.time_since_epoch().count();
}

void StopAnswerWatch::heard(Clock::time_point now)
{
    if (m_silentSince != kNoWait)
        m_silentSince = now.time_since_epoch().count();
}

void StopAnswerWatch::end()
{
    m_silentSince = kNoWait;
}

bool StopAnswerWatch::hasExpired(Clock::time_point now) const
{
    const Clock::rep since = m_silentSince;
    if (since == kNoWait)
        return false;
    return now - Clock::time_point(Clock::duration(since)) >= std::chrono::milliseconds(kTimeoutMs);
}
