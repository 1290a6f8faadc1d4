#pragma once

#include <QCoreApplication>
#include <QObject>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

// How late the GUI event loop answers: another thread posts an event every
// 10 ms and the loop notes how long each took to be handled, with the time
// it was posted. Runs while the object lives.
class EventLoopProbe
{
public:
    using Clock = std::chrono::steady_clock;

    struct Sample
    {
        Clock::time_point posted;
        double delayMs;

        Clock::time_point handled() const
        {
            const std::chrono::duration<double, std::milli> delay(delayMs);
            return posted + std::chrono::duration_cast<Clock::duration>(delay);
        }
    };

    EventLoopProbe()
        : m_thread([this] {
            while (m_running) {
                const Clock::time_point posted = Clock::now();
                QMetaObject::invokeMethod(
                    &m_receiver,
                    [this, posted] {
                        std::lock_guard<std::mutex> lock(m_mutex);
                        m_samples.push_back({posted, milliseconds(Clock::now() - posted)});
                    },
                    Qt::QueuedConnection);
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        })
    {
    }

    ~EventLoopProbe()
    {
        m_running = false;
        m_thread.join();
    }

    // The largest delay of the events posted within [from, to].
    double worstDelayMs(Clock::time_point from, Clock::time_point to) const { return worstSample(from, to).delayMs; }

    // The event posted within [from, to], and handled before `handledBefore`,
    // that waited longest; a delay of 0 when there is none.
    Sample worstSample(Clock::time_point from, Clock::time_point to,
                       Clock::time_point handledBefore = Clock::time_point::max()) const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Sample worst{from, 0};
        for (const Sample& sample : m_samples) {
            const bool inTime = sample.posted >= from && sample.posted <= to && sample.handled() < handledBefore;
            if (inTime && sample.delayMs > worst.delayMs)
                worst = sample;
        }
        return worst;
    }

    static double milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

private:
    QObject m_receiver;
    mutable std::mutex m_mutex;
    std::vector<Sample> m_samples;
    std::atomic<bool> m_running{true};
    std::thread m_thread;
};
