// Replot and snap times of long noisy traces drawn as AdaptiveCurve.
// Targets: a full replot of one 1,000,000-point trace in at most 50 ms; a snap
// in at most 5 ms with one such trace and 16 ms with four.
#include "plot/AdaptiveCurve.h"
#include "plot/PlotWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

constexpr int kPoints = 1000000;

// A roughness-like profile: waviness plus noise of several pixels on screen.
QVector<QCPCurveData> noisyTrace(unsigned seed, double offset)
{
    std::mt19937 generator(seed);
    std::normal_distribution<double> noise(0.0, 0.4);
    QVector<QCPCurveData> data;
    data.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        const double x = i * 0.0001;
        data.append(QCPCurveData(i, x, offset + std::sin(x * 0.7) + noise(generator)));
    }
    return data;
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

void addTraces(PlotWidget& plot, int count)
{
    for (int i = 0; i < count; ++i) {
        auto* curve = new AdaptiveCurve(plot.xAxis, plot.yAxis);
        curve->data()->set(noisyTrace(unsigned(i + 1), i * 3.0), true);
    }
    plot.rescaleAxes();
    plot.replot();
}

double timeMove(PlotWidget& plot, const QPoint& pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, plot.mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QElapsedTimer timer;
    timer.start();
    QApplication::sendEvent(&plot, &move);
    return timer.nsecsElapsed() / 1e6;
}

QVector<QPoint> cursorPositions(const PlotWidget& plot)
{
    const QRect area = plot.axisRect()->rect();
    QVector<QPoint> positions;
    for (int i = 0; i < 25; ++i)
        positions.append(QPoint(area.left() + (i * 37) % area.width(), area.top() + (i * 53) % area.height()));
    return positions;
}

void benchReplot()
{
    PlotWidget plot;
    plot.resize(1200, 700);
    plot.show();
    addTraces(plot, 1);
    QVector<double> same, moved;
    for (int i = 0; i < 9; ++i) {
        QElapsedTimer timer;
        timer.start();
        plot.replot();
        same.append(timer.nsecsElapsed() / 1e6);
        plot.xAxis->moveRange(i % 2 ? 0.5 : -0.5);
        timer.start();
        plot.replot();
        moved.append(timer.nsecsElapsed() / 1e6);
    }
    std::printf("full replot, 1 trace of %d points: %.1f ms (after a pan: %.1f ms), target 50 ms\n", kPoints,
                median(same), median(moved));
}

void benchSnap(int traces, double target)
{
    PlotWidget plot;
    plot.resize(1200, 700);
    plot.show();
    addTraces(plot, traces);
    plot.setInteractions(QCP::iSelectPlottables | QCP::iRangeSelection);
    const QVector<QPoint> positions = cursorPositions(plot);
    QVector<double> warm, cold;
    timeMove(plot, positions.first());
    for (const QPoint& pos : positions)
        warm.append(timeMove(plot, pos));
    for (int i = 0; i < 5; ++i) {
        plot.xAxis->moveRange(i % 2 ? 0.25 : -0.25);
        plot.replot();
        cold.append(timeMove(plot, positions.at(i)));
    }
    std::printf("snap, %d trace(s) of %d points: %.2f ms (max %.2f ms; first after a pan %.1f ms), target %.0f ms\n",
                traces, kPoints, median(warm), *std::max_element(warm.begin(), warm.end()), median(cold), target);
}

void benchLibraryHitTest()
{
    PlotWidget plot;
    plot.resize(1200, 700);
    plot.show();
    auto* curve = new QCPCurve(plot.xAxis, plot.yAxis);
    curve->data()->set(noisyTrace(1, 0), true);
    plot.rescaleAxes();
    plot.replot();
    QElapsedTimer timer;
    timer.start();
    curve->selectTest(plot.axisRect()->rect().center(), true);
    std::printf("for comparison, the library's hit test on the same trace: %.1f ms\n", timer.nsecsElapsed() / 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchReplot();
    benchSnap(1, 5);
    benchSnap(4, 16);
    benchLibraryHitTest();
    return 0;
}
