#pragma once

#include <atomic>
#include <chrono>

// Whether the profile controller has left the stop of a trace unanswered.
// After the stop it ends the trace with its block transfer, normally within
// a second. When it sends nothing of the trace (points or the block) for
// kTimeoutMs after the stop, or after the last of the trace it sent since,
// it is taken as not answering; idle readings are no answer.
//
// The stop is noted on the GUI thread; the reader task notes what it hears
// of the trace and asks.
class StopAnswerWatch
{
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int kTimeoutMs = 3000;

    // The stop has gone out: the wait for the answer begins.
    void stopSent(Clock::time_point now);
    // The controller has sent some of the trace: a running wait starts over.
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
