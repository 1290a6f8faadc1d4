// Replot, append and snap times of long noisy traces drawn as AdaptiveCurve,
// each replot figure beside the library's QCPGraph on the same data, plot size
// and run. Targets (plot of 1200 x 700):
// - full replot of a 1,000,000-point trace, whole view and zoomed to 1 %: at
//   most the graph's time and at most 10 ms;
// - the same for 10,000,000 points: at most 15 ms;
// - appending 500-point batches to a 1,000,000-point trace and replotting:
//   at most 10 ms per batch;
// - a snap in at most 5 ms with one 1,000,000-point trace and 16 ms with four.
#include "plot/AdaptiveCurve.h"
#include "plot/PlotWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>

namespace {

constexpr int kMillion = 1000000;
constexpr int kBatch = 500;

// A roughness-like profile over x = 0..100: waviness plus noise of several
// pixels on screen.
class NoisyTrace
{
public:
    NoisyTrace(int count, unsigned seed, double offset)
        : m_generator(seed)
        , m_noise(0.0, 0.4)
        , m_step(100.0 / count)
        , m_offset(offset)
    {
    }

    void next(double& x, double& y)
    {
        x = m_index++ * m_step;
        y = m_offset + std::sin(x * 0.7) + m_noise(m_generator);
    }

    QVector<QCPCurveData> curveData(int count)
    {
        QVector<QCPCurveData> data;
        data.reserve(count);
        for (int i = 0; i < count; ++i) {
            double x, y;
            next(x, y);
            data.append(QCPCurveData(i, x, y));
        }
        return data;
    }

private:
    std::mt19937 m_generator;
    std::normal_distribution<double> m_noise;
    double m_step;
    double m_offset;
    int m_index = 0;
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

double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// One plot with the trace twice, as AdaptiveCurve and as QCPGraph, of which
// one is shown at a time; the two are measured in turns so that both see the
// same machine load. (Two plot widgets would not do: the first one shown
// replots measurably slower with the same content.)
struct CurveAndGraph
{
    CurveAndGraph()
    {
        plot.resize(1200, 700);
        plot.show();
    }

    void set(const QVector<QCPCurveData>& data)
    {
        curve = new AdaptiveCurve(plot.xAxis, plot.yAxis);
        curve->data()->set(data, true);
        graph = plot.addGraph();
        QVector<QCPGraphData> points;
        points.reserve(data.size());
        for (const QCPCurveData& point : data)
            points.append(QCPGraphData(point.key, point.value));
        graph->data()->set(points, true);
        plot.rescaleAxes();
        // The first drawing of new data builds the curve's summary.
        firstCurveReplot = timeCurve([&] { plot.replot(); });
        firstGraphReplot = timeGraph([&] { plot.replot(); });
    }

    double timeCurve(const std::function<void()>& work)
    {
        curve->setVisible(true);
        graph->setVisible(false);
        return millisecondsOf(work);
    }

    double timeGraph(const std::function<void()>& work)
    {
        curve->setVisible(false);
        graph->setVisible(true);
        return millisecondsOf(work);
    }

    PlotWidget plot;
    AdaptiveCurve* curve = nullptr;
    QCPGraph* graph = nullptr;
    double firstCurveReplot = 0;
    double firstGraphReplot = 0;
};

void printFigure(const char* what, const QVector<double>& curve, const QVector<double>& graph, double target)
{
    std::printf("%-58s AdaptiveCurve %6.2f ms (max %6.2f), QCPGraph %6.2f ms (max %6.2f); target %.0f ms\n", what,
                median(curve), maximum(curve), median(graph), maximum(graph), target);
}

// Replots after small pans, so that every replot draws a new view.
void benchReplot(CurveAndGraph& plots, const char* what, double target)
{
    QVector<double> curveTimes, graphTimes;
    const double pan = plots.plot.xAxis->range().size() * 0.003;
    for (int i = 0; i < 15; ++i) {
        plots.plot.xAxis->moveRange(i % 2 ? pan : -pan);
        curveTimes.append(plots.timeCurve([&] { plots.plot.replot(); }));
        graphTimes.append(plots.timeGraph([&] { plots.plot.replot(); }));
    }
    printFigure(what, curveTimes, graphTimes, target);
}

void benchReplots(int count, double target)
{
    CurveAndGraph plots;
    NoisyTrace trace(count, 1, 0);
    plots.set(trace.curveData(count));
    std::printf("first replot of %d points (AdaptiveCurve builds its summary): %.1f ms, QCPGraph %.1f ms\n", count,
                plots.firstCurveReplot, plots.firstGraphReplot);
    char what[100];
    std::snprintf(what, sizeof what, "replot, %d points, whole view:", count);
    benchReplot(plots, what, target);
    plots.plot.xAxis->setRange(49.5, 50.5);
    std::snprintf(what, sizeof what, "replot, %d points, zoomed to 1 %%:", count);
    benchReplot(plots, what, target);
}

// The view shows the whole trace once it is complete.
void benchAppend()
{
    CurveAndGraph plots;
    NoisyTrace trace(2 * kMillion, 1, 0);
    plots.set(trace.curveData(kMillion));
    plots.plot.xAxis->setRange(0, 100);
    QVector<double> curveTimes, graphTimes;
    for (int batch = 0; batch < 200; ++batch) {
        QVector<double> keys(kBatch), values(kBatch);
        for (int i = 0; i < kBatch; ++i)
            trace.next(keys[i], values[i]);
        curveTimes.append(plots.timeCurve([&] {
            plots.curve->addData(keys, values);
            plots.plot.replot();
        }));
        graphTimes.append(plots.timeGraph([&] {
            plots.graph->addData(keys, values, true);
            plots.plot.replot();
        }));
    }
    printFigure("append 500 points to 1000000 and replot:", curveTimes, graphTimes, 10);
}

double timeMove(PlotWidget& plot, const QPoint& pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, plot.mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    return millisecondsOf([&] { QApplication::sendEvent(&plot, &move); });
}

QVector<QPoint> cursorPositions(const PlotWidget& plot)
{
    const QRect area = plot.axisRect()->rect();
    QVector<QPoint> positions;
    for (int i = 0; i < 25; ++i)
        positions.append(QPoint(area.left() + (i * 37) % area.width(), area.top() + (i * 53) % area.height()));
    return positions;
}

void benchSnap(int traces, double target)
{
    PlotWidget plot;
    plot.resize(1200, 700);
    plot.show();
    for (int i = 0; i < traces; ++i) {
        auto* curve = new AdaptiveCurve(plot.xAxis, plot.yAxis);
        curve->data()->set(NoisyTrace(kMillion, unsigned(i + 1), i * 3.0).curveData(kMillion), true);
    }
    plot.rescaleAxes();
    plot.replot();
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
                traces, kMillion, median(warm), maximum(warm), median(cold), target);
}

void benchLibraryHitTest()
{
    PlotWidget plot;
    plot.resize(1200, 700);
    plot.show();
    auto* curve = new QCPCurve(plot.xAxis, plot.yAxis);
    curve->data()->set(NoisyTrace(kMillion, 1, 0).curveData(kMillion), true);
    plot.rescaleAxes();
    plot.replot();
    const double time = millisecondsOf([&] { curve->selectTest(plot.axisRect()->rect().center(), true); });
    std::printf("for comparison, the library's hit test on the same trace: %.1f ms\n", time);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchReplots(kMillion, 10);
    benchReplots(10 * kMillion, 15);
    benchAppend();
    benchSnap(1, 5);
    benchSnap(4, 16);
    benchLibraryHitTest();
    return 0;
}
