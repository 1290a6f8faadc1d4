// Times the graph holder of a 1,000,000-point profile trace: the display copy
// with and without the R-line (and with straightening), and the histogram
// with the ratio curve over the visible window. Runs on the calling thread.

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "ProfileTrace.h"
#include "plot/PlotWidget.h"
#include "plot/TraceGraphsHolder.h"

namespace {

constexpr int kPoints = 1000000;
constexpr int kRuns = 7;

ProfileData noisyProfile()
{
    std::mt19937 random(2024);
    std::normal_distribution<double> noise(0, 0.3);
    ProfileData profile(2);
    profile[0].reserve(kPoints);
    profile[1].reserve(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        const double x = i * 0.1;
        profile[0].append(x);
        profile[1].append(2e-9 * (x - 30000) * (x - 30000) + 1.2 * std::sin(x / 23) + noise(random));
    }
    return profile;
}

// Milliseconds of the fastest and of the median of kRuns runs.
QString timing(const std::function<void()>& work)
{
    QVector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return QStringLiteral("min %1 ms, median %2 ms").arg(times.first(), 0, 'f', 1).arg(times.at(kRuns / 2), 0, 'f', 1);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);

    PlotWidget mainPlot, histogramPlot, ratioPlot;
    mainPlot.resize(1200, 700);
    ProfileTrace trace(noisyProfile());
    TraceGraphsHolder holder(nullptr, &trace, &mainPlot, &histogramPlot, &ratioPlot);
    holder.setUnit(QStringLiteral("mm"), false);

    out << "profile trace of " << kPoints << " points\n";
    out << "updateGraphs, R-line off: " << timing([&] { holder.updateGraphs(false, false); }) << "\n";
    out << "updateGraphs, R-line on: " << timing([&] { holder.updateGraphs(true, false); }) << "\n";
    out << "updateGraphs, R-line and straightening: " << timing([&] { holder.updateGraphs(true, true); }) << "\n";

    mainPlot.rescaleAxes();
    out << "updateHeightDistribution, whole profile visible: "
        << timing([&] { holder.updateHeightDistribution(); }) << "\n";
    const QCPRange x = mainPlot.xAxis->range();
    mainPlot.xAxis->setRange(x.center(), x.center() + x.size() / 10);
    out << "updateHeightDistribution, a tenth visible: " << timing([&] { holder.updateHeightDistribution(); })
        << "\n";
    return 0;
}
