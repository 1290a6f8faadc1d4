// The contour tab on one 1,000,000-point trace. Targets: opening the tab
// (construction, traces, first show with the fit and the replot) at most
// 300 ms; with 30 measurements placed, a change of the display unit (curves
// refilled, 30 recalculations and rows, fit, replot) at most 400 ms; one
// wheel zoom step at most 50 ms. Each figure is given as wall time and as the
// GUI thread's processor time, which a machine busy with other work inflates
// less.
#include "ContourBenchScene.h"

#include "AppSettings.h"

#include <QElapsedTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>

namespace {

constexpr QSize kWindowSize(1400, 900);

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Wall and processor milliseconds of one run of the step.
struct Timing
{
    QVector<double> wall;
    QVector<double> cpu;

    void time(const std::function<void()>& step)
    {
        QElapsedTimer timer;
        const double cpuStart = threadCpuMs();
        timer.start();
        step();
        wall.append(timer.nsecsElapsed() / 1e6);
        cpu.append(threadCpuMs() - cpuStart);
    }
};

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

double maximum(const QVector<double>& values)
{
    return *std::max_element(values.begin(), values.end());
}

void setAxisUnit(int unit)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    settings.view.axis_unit = unit;
}

std::unique_ptr<ContourAnalisisWidget> openTab(PlainTrace& trace)
{
    auto widget = std::make_unique<ContourAnalisisWidget>(nullptr, false);
    widget->setTraces({&trace});
    widget->resize(kWindowSize);
    widget->show();
    QApplication::processEvents();
    return widget;
}

void report(const char* what, const Timing& timing, double target)
{
    const QVector<double>& times = timing.wall;
    std::printf("%-40s median %7.1f ms  max %7.1f ms  (target %.0f ms); runs:", what, median(times),
                maximum(times), target);
    for (const double time : times)
        std::printf(" %.1f", time);
    std::printf("\n%-40s median %7.1f ms  max %7.1f ms  (processor time of the GUI thread)\n", "", median(timing.cpu),
                maximum(timing.cpu));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Q_INIT_RESOURCE(icons);
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    setAxisUnit(0);

    PlainTrace trace;
    trace.addPoints(contourBenchColumns());

    Timing opening;
    for (int run = 0; run < 5; ++run) {
        std::unique_ptr<ContourAnalisisWidget> widget;
        opening.time([&] { widget = openTab(trace); });
    }
    report("opening a tab", opening, 300);

    auto widget = openTab(trace);
    const int placed = placeBenchMeasurements(*widget);
    int finished = 0;
    for (const Measurement* measurement : widget->measurementsManager()->measurements())
        finished += measurement->isFinished() ? 1 : 0;
    std::printf("measurements listed: %d, finished: %d\n", placed, finished);

    Timing unitChanges;
    for (int run = 0; run < 6; ++run) {
        setAxisUnit(run % 2 == 0 ? 1 : 0);
        unitChanges.time([&] {
            widget->recalcAllMeasurements();
            QApplication::processEvents();
        });
    }
    report("unit change with 30 measurements", unitChanges, 400);

    auto* plot = widget->findChild<PlotWidget*>(QStringLiteral("plot"));
    widget->findChild<QAction*>(QStringLiteral("actionScale"))->setChecked(true);
    widget->findChild<QPushButton*>(QStringLiteral("pushButtonScaleX"))->click();
    Timing zooms;
    for (int step = 0; step < 20; ++step) {
        const QPoint pos = plot->rect().center();
        const int delta = step < 10 ? 120 : -120;
        QWheelEvent event(pos, plot->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        zooms.time([&] {
            QApplication::sendEvent(plot, &event);
            QApplication::processEvents();
        });
    }
    report("one wheel zoom step (30 measurements)", zooms, 50);
    return 0;
}
