#pragma once

#include <atomic>
#include <chrono>

// Whether the profile controller has left the stop of a trace unanswered.
// After the stop it ends the trace with its block transfer, normally within
// a second. When it sends nothing for kTimeoutMs after the stop, or after
// the last bytes it sent since, it is taken as not answering.
//
// The stop is noted on the GUI thread; the reader task notes what it hears
// and asks.
class StopAnswerWatch
{
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int kTimeoutMs = 3000;

    // The stop has gone out: the wait for the answer begins.
    void stopSent(Clock::time_point now);
    // The controller has sent bytes: a running wait starts over.
    void heard(Clock::time_point now);
    // The trace has ended: no wait runs.
    void end();
    // A wait runs and has lasted kTimeoutMs.
    bool hasExpired(Clock::time_point now) const;

private:
    static constexpr Clock::rep kNoWait = Clock::duration::min().count();

    // Since when the controller has been silent while the answer is due.
    std::atomic<Clock::rep> m_silentSince{kNoWait};
};
