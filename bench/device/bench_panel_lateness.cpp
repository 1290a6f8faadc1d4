// The instrument panels while a profile trace streams in: the simulated
// profile controller sends point frames at the line rate (460800 baud,
// 11,520 frames a second) for 10 s into the shown control panel, whose height
// bar follows every frame while the recording's batches reach the GUI thread
// as the workspace receives them. The GUI event loop has to stay responsive:
// an event posted to it from another thread every 10 ms has to be handled
// within 50 ms at the 99th percentile, and every point has to reach the trace.
//
// Also printed: the lateness of a 10 ms timer on the GUI thread.

#include "ControllerFrames.h"
#include "DataProvider.h"
#include "DeviceControlWidget.h"
#include "PanelsWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Family = SimulatedController::Family;

constexpr double kSeconds = 10;
constexpr int kProbeIntervalMs = 10;
constexpr double kLatenessLimitMs = 50;

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(fraction * double(values.size())))];
}

// Runs the GUI event loop until `done` holds or the time is up.
bool runUntil(const std::function<bool()>& done, int timeoutMs)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(20);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

QPushButton* button(PanelsWindow& window, const char* name)
{
    return window.panel()->findChild<QPushButton*>(QLatin1String(name));
}

} // namespace

int main(int argc, char** argv)
{
    Q_INIT_RESOURCE(icons);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());

    PanelLink link(Family::Profile);
    SimulatedController::ProfileTrace endless;
    endless.endsByItself = false;
    link.controller.setProfileTrace(endless);
    if (!link.connect()) {
        std::printf("panel lateness: the link did not come up\n");
        return 1;
    }
    PanelsWindow& window = *link.window;

    // The workspace takes every batch of the recording on the GUI thread.
    std::atomic<long> rowsAnnounced{0};
    QObject::connect(window.panel(), &DeviceControlWidget::newTrace, &window, [&](DataProvider* provider) {
        QObject::connect(provider, &DataProvider::dataBatchReady, &window,
                         [&](int, int count) { rowsAnnounced += count; });
    });
    button(window, "startTraceButton")->click();
    if (!runUntil([&] { return window.provider() && window.provider()->isRunning(); }, 5000)) {
        std::printf("panel lateness: the recording did not start\n");
        return 1;
    }
    runUntil([] { return false; }, 300);

    const int frames = int(kSeconds * SimulatedController::kLineBytesPerSecond / 4);
    std::string stream;
    for (int i = 0; i < frames; ++i)
        stream += ControllerFrames::pointFrame(uint16_t(1000 + i % 50000));
    link.controller.setLineRatePacing(true);

    std::vector<double> timerLateness;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    Clock::time_point lastTick = Clock::now();
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        timerLateness.push_back(std::max(0.0, milliseconds(now - lastTick) - kProbeIntervalMs));
        lastTick = now;
    });

    std::vector<double> eventDelays;
    std::atomic<bool> probing{true};
    QObject receiver;
    std::thread prober([&] {
        while (probing) {
            const Clock::time_point sent = Clock::now();
            QMetaObject::invokeMethod(
                &receiver, [&eventDelays, sent] { eventDelays.push_back(milliseconds(Clock::now() - sent)); },
                Qt::QueuedConnection);
            std::this_thread::sleep_for(std::chrono::milliseconds(kProbeIntervalMs));
        }
    });

    const Clock::time_point start = Clock::now();
    ticker.start(kProbeIntervalMs);
    link.controller.send(stream);
    const bool arrived = runUntil([&] { return window.trace()->rowCount() >= frames; }, int(kSeconds * 1000) + 10000);
    const double seconds = milliseconds(Clock::now() - start) / 1000;
    probing = false;
    prober.join();
    ticker.stop();
    runUntil([&] { return rowsAnnounced >= frames; }, 5000);

    const double p99 = percentile(eventDelays, 0.99);
    const bool ok = arrived && p99 <= kLatenessLimitMs;
    std::printf("panel lateness, profile point frames paced %.1f s: %d/%d points in the trace, %ld announced; "
                "posted event delay p50 %.2f ms, p99 %.2f ms (limit %.0f), max %.2f ms; "
                "10 ms timer lateness p50 %.2f ms, p99 %.2f ms, max %.2f ms %s\n",
                seconds, window.trace()->rowCount(), frames, rowsAnnounced.load(), percentile(eventDelays, 0.5), p99,
                kLatenessLimitMs, percentile(eventDelays, 1.0), percentile(timerLateness, 0.5),
                percentile(timerLateness, 0.99), percentile(timerLateness, 1.0), ok ? "ok" : "FAILS");

    button(window, "stopTraceButton")->click();
    runUntil([&] { return !window.provider()->isRunning(); }, 10000);
    return ok ? 0 : 1;
}
