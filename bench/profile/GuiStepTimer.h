#pragma once

#include <QApplication>
#include <QEvent>
#include <QString>
#include <QThread>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <vector>

// Times the steps the GUI thread takes: every event it handles (outermost
// deliveries only), named by a function the benchmark gives, and the parts
// of them the benchmark marks itself. A late event loop is put down to the
// steps that ran while the late event waited.
class GuiStepTimer : public QApplication
{
public:
    using Clock = std::chrono::steady_clock;
    // What handled an event; an empty name leaves the event out.
    using Namer = std::function<QString(QObject* receiver, QEvent* event)>;

    struct Step
    {
        Clock::time_point start;
        Clock::time_point end;
        QString name;
        // The GUI thread's processor time in the step; less than the step
        // took when the thread waited, for a lock or for a processor.
        double cpuMs = -1;

        double milliseconds() const { return std::chrono::duration<double, std::milli>(end - start).count(); }
    };

    GuiStepTimer(int& argc, char** argv) : QApplication(argc, argv) {}

    void start(Namer namer)
    {
        m_namer = std::move(namer);
        m_steps.clear();
        m_recording = true;
    }

    void stop() { m_recording = false; }

    // A part of a step, marked by the benchmark.
    void mark(const QString& name, Clock::time_point start, Clock::time_point end)
    {
        if (m_recording)
            m_steps.push_back({start, end, name});
    }

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (!m_recording || m_depth > 0 || QThread::currentThread() != thread())
            return QApplication::notify(receiver, event);
        // Named before the delivery, which may delete the receiver.
        const QString name = m_namer ? m_namer(receiver, event) : QString();
        ++m_depth;
        const double cpuStart = threadCpuMs();
        const Clock::time_point start = Clock::now();
        const bool handled = QApplication::notify(receiver, event);
        const Clock::time_point end = Clock::now();
        const double cpu = threadCpuMs() - cpuStart;
        --m_depth;
        if (!name.isEmpty())
            m_steps.push_back({start, end, name, cpu});
        return handled;
    }

    static double threadCpuMs()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
    }

    // The longest step of each name within [from, to], longest first.
    std::vector<Step> longestByName(Clock::time_point from, Clock::time_point to) const
    {
        std::map<QString, Step> longest;
        for (const Step& step : m_steps) {
            if (step.start < from || step.start > to)
                continue;
            auto it = longest.find(step.name);
            if (it == longest.end() || step.milliseconds() > it->second.milliseconds())
                longest[step.name] = step;
        }
        std::vector<Step> steps;
        for (const auto& entry : longest)
            steps.push_back(entry.second);
        std::sort(steps.begin(), steps.end(),
                  [](const Step& a, const Step& b) { return a.milliseconds() > b.milliseconds(); });
        return steps;
    }

    // What the GUI thread did while an event posted at `posted` waited to be
    // handled at `handled`: the longest step, and the time and number of the
    // events it handled meanwhile.
    struct Wait
    {
        const Step* longest = nullptr;
        double handlingMs = 0;
        int events = 0;
    };

    Wait during(Clock::time_point posted, Clock::time_point handled) const
    {
        Wait wait;
        for (const Step& step : m_steps) {
            const Clock::time_point from = std::max(step.start, posted);
            const Clock::time_point to = std::min(step.end, handled);
            if (from >= to)
                continue;
            if (step.cpuMs >= 0) {
                wait.handlingMs += std::chrono::duration<double, std::milli>(to - from).count();
                ++wait.events;
            }
            if (!wait.longest || step.milliseconds() > wait.longest->milliseconds())
                wait.longest = &step;
        }
        return wait;
    }

private:
    Namer m_namer;
    std::vector<Step> m_steps;
    bool m_recording = false;
    int m_depth = 0;
};
