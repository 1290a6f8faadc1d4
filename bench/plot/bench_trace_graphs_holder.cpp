// Times the graph holder of a 1,000,000-point profile trace: the display copy
// with and without the R-line (and with straightening), and the histogram
// with the ratio curve over the visible window. Runs on the calling thread.

#include <QApplication>
#include <QTextStream>

#include <cmath>

#include "../algos/SyntheticProfile.h"
#include "../algos/Timing.h"
#include "ProfileTrace.h"
#include "plot/PlotWidget.h"
#include "plot/TraceGraphsHolder.h"

namespace {

constexpr int kPoints = 1000000;

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);

    PlotWidget mainPlot, histogramPlot, ratioPlot;
    mainPlot.resize(1200, 700);
    ProfileTrace trace(syntheticProfile(kPoints, 0.1, 0.3, [](double x) {
        return 2e-9 * (x - 30000) * (x - 30000) + 1.2 * std::sin(x / 23);
    }));
    TraceGraphsHolder holder(nullptr, &trace, &mainPlot, &histogramPlot, &ratioPlot);
    holder.setUnit(QStringLiteral("mm"), false);

    const auto nothing = [] {};
    out << "profile trace of " << kPoints << " points\n";
    out << "updateGraphs, R-line off: " << timing(nothing, [&] { holder.updateGraphs(false, false); }) << "\n";
    out << "updateGraphs, R-line on: " << timing(nothing, [&] { holder.updateGraphs(true, false); }) << "\n";
    out << "updateGraphs, R-line and straightening: " << timing(nothing, [&] { holder.updateGraphs(true, true); }) << "\n";

    mainPlot.rescaleAxes();
    out << "updateHeightDistribution, whole profile visible: "
        << timing(nothing, [&] { holder.updateHeightDistribution(); }) << "\n";
    const QCPRange x = mainPlot.xAxis->range();
    mainPlot.xAxis->setRange(x.center(), x.center() + x.size() / 10);
    out << "updateHeightDistribution, a tenth visible: " << timing(nothing, [&] { holder.updateHeightDistribution(); })
        << "\n";
    return 0;
}
