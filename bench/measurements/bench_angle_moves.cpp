// An angle placed on a contour plot with one 1,000,000-point trace. Targets:
// a mouse move while the value is placed at most 5 ms from the event to the
// repainted plot (the ranges' lines are not fitted again for a move); the two
// line fits of a pair of 100,000-point ranges at most 2 ms.
#include "PlotBenchSupport.h"

#include "measurements/RangeLineFit.h"
#include "measurements/RegularAngleMeasurement.h"

#include "plot/AdaptiveCurve.h"
#include "plot/PlotWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <cmath>
#include <cstdio>

namespace {

constexpr int kRangePoints = 100000;

void leftRelease(PlotWidget& plot, const QPoint& pos)
{
    QMouseEvent release = mouseEvent(QEvent::MouseButtonRelease, plot, pos);
    QApplication::sendEvent(&plot, &release);
}

void benchFits(QCPCurve* trace)
{
    const Selection first{100000, 100000 + kRangePoints, trace};
    const Selection second{600000, 600000 + kRangePoints, trace};
    QVector<double> times;
    for (int i = 0; i < 50; ++i) {
        RangeLineFit firstFit;
        RangeLineFit secondFit;
        QElapsedTimer timer;
        timer.start();
        const double k = firstFit.line(first).k + secondFit.line(second).k;
        times.append(elapsedMs(timer));
        if (!std::isfinite(k))
            std::printf("fit failed\n");
    }
    std::printf("two line fits of %d-point ranges: %.3f ms (95 %%: %.3f ms), target 2 ms\n", kRangePoints,
                median(times), percentile95(times));
}

void benchPlacing(PlotWidget& plot, AdaptiveCurve* trace)
{
    RegularAngleMeasurement angle(&plot, 1);
    plot.replot();
    const QPoint somewhere = plot.axisRect()->rect().center();
    trace->setSelection(QCPDataSelection(QCPDataRange(100000, 100000 + kRangePoints)));
    leftRelease(plot, somewhere);
    trace->setSelection(QCPDataSelection(QCPDataRange(600000, 600000 + kRangePoints)));
    leftRelease(plot, somewhere);
    if (!angle.isSelectionLocked())
        std::printf("the angle did not lock its ranges\n");

    QVector<double> moves;
    for (const QPoint& pos : cursorPositions(plot)) {
        QMouseEvent move = mouseEvent(QEvent::MouseMove, plot, pos);
        QElapsedTimer timer;
        timer.start();
        QApplication::sendEvent(&plot, &move);
        plot.repaint();
        moves.append(elapsedMs(timer));
    }
    std::printf("mouse move while an angle is placed on a %d-point trace, repainted: %.2f ms (95 %%: %.2f ms), "
                "target 5 ms; angle %.4f\n",
                kTracePoints, median(moves), percentile95(moves), angle.value());
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PlotWidget plot;
    plot.resize(1200, 700);
    plot.show();
    auto* trace = new AdaptiveCurve(plot.xAxis, plot.yAxis);
    trace->data()->set(noisyTrace(), true);
    plot.rescaleAxes();
    plot.replot();
    benchFits(trace);
    benchPlacing(plot, trace);
    return 0;
}
