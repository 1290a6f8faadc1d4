// The deviation, radius and circle kinds on a 100,000-point stretch of a
// 1,000,000-point trace. Targets: the line and circle fits at most 2 ms; a
// whole calculate of kinds 11, 12, 6 and 7 (deviation curve and scale
// included) at most 10 ms; the given-radius search at most 50 ms; the running
// median with a 500-point window at most 20 ms; a mouse move while a value is
// placed at most 5 ms from the event to the repainted plot.
#include "PlotBenchSupport.h"

#include "measurements/ArcsRadiusMeasurement.h"
#include "measurements/CircumfAGSpecified.h"
#include "measurements/RDEMFiterByTwoSegment.h"
#include "measurements/RDEMSpecified.h"
#include "measurements/RDEMeasurement.h"
#include "measurements/RMSEMeasurement.h"
#include "measurements/RadiusDisplacementErrorMeasurementByTwoSegment.h"
#include "measurements/RadiusDisplacementFilterErrorMeasurement.h"
#include "measurements/RegularRadiusMeasurement.h"
#include "measurements/SpanCircleFit.h"
#include "measurements/math/RunningMedian.h"

#include "CircleFit.h"
#include "RMS.h"

#include "plot/AdaptiveCurve.h"
#include "plot/PlotWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr double kStep = 0.0001; // mm between points: 100 mm of trace
constexpr double kRadius = 80; // mm, of the arc the trace follows

// An arc of radius 80 mm over 100 mm of x, with a roughness of a few
// micrometres.
QVector<QCPCurveData> arcTrace()
{
    QVector<QCPCurveData> data;
    data.reserve(kTracePoints);
    for (int i = 0; i < kTracePoints; ++i) {
        const double x = i * kStep;
        const double dx = x - 50;
        const double roughness = 0.002 * std::sin(i * 0.37) + 0.001 * std::sin(i * 0.0021);
        const double y = std::sqrt(kRadius * kRadius - dx * dx) + roughness;
        data.append(QCPCurveData(i, x, y));
    }
    return data;
}

// The median time of runs of f, in milliseconds.
double timed(int runs, const std::function<void()>& f)
{
    QVector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        f();
        times.append(elapsedMs(timer));
    }
    return median(times);
}

struct Scene
{
    Scene()
    {
        plot.resize(1200, 700);
        plot.show();
        trace = new AdaptiveCurve(plot.xAxis, plot.yAxis);
        trace->data()->set(arcTrace(), true);
        plot.rescaleAxes();
        plot.yAxis->setRangeLower(plot.yAxis->range().lower - plot.yAxis->range().size());
        plot.replot();
    }

    QPoint pixelOfX(double x) const
    {
        const double dx = x - 50;
        const double y = std::sqrt(kRadius * kRadius - dx * dx);
        return QPointF(plot.xAxis->coordToPixel(x), plot.yAxis->coordToPixel(y)).toPoint();
    }

    QPoint below() const
    {
        const double y = plot.yAxis->range().lower + 10;
        return QPointF(plot.xAxis->coordToPixel(50), plot.yAxis->coordToPixel(y)).toPoint();
    }

    void send(QEvent::Type type, const QPoint& pos, Qt::MouseButton button = Qt::NoButton)
    {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, pos, plot.mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : button,
                          type == QEvent::MouseMove ? pressed : buttons, Qt::NoModifier);
        QApplication::sendEvent(&plot, &event);
    }

    // A drag along the trace from x = from to x = to (millimetres).
    void drag(double from, double to)
    {
        pressed = Qt::LeftButton;
        send(QEvent::MouseMove, pixelOfX(from));
        send(QEvent::MouseButtonPress, pixelOfX(from), Qt::LeftButton);
        send(QEvent::MouseMove, pixelOfX((from + to) / 2));
        send(QEvent::MouseMove, pixelOfX(to));
        pressed = Qt::NoButton;
        send(QEvent::MouseButtonRelease, pixelOfX(to), Qt::LeftButton);
    }

    void click(const QPoint& pos)
    {
        send(QEvent::MouseMove, pos);
        send(QEvent::MouseButtonPress, pos, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, pos, Qt::LeftButton);
    }

    // Mouse moves while the value is placed, each to the repainted plot.
    QVector<double> placingMoves()
    {
        QVector<double> times;
        const QPoint start = below();
        for (int i = 0; i < 60; ++i) {
            const QPoint pos = start + QPoint((i * 37) % 300 - 150, -(i * 53) % 200);
            QElapsedTimer timer;
            timer.start();
            send(QEvent::MouseMove, pos);
            plot.repaint();
            times.append(elapsedMs(timer));
        }
        return times;
    }

    PlotWidget plot;
    AdaptiveCurve* trace = nullptr;
    Qt::MouseButtons pressed = Qt::NoButton;
};

using Make = std::function<Measurement*(PlotWidget*)>;

struct Kind
{
    const char* name;
    Make make;
    int ranges;
};

void benchKind(Scene& scene, const Kind& kind)
{
    std::unique_ptr<Measurement> m(kind.make(&scene.plot));
    scene.plot.replot();
    if (kind.ranges == 1) {
        scene.drag(45, 55);
    } else {
        scene.drag(45, 48);
        scene.drag(52, 55);
    }
    qint64 points = 0;
    for (int i = 0; i < m->selectionCount(); ++i)
        points += m->selection(i)->end - m->selection(i)->begin;
    const QVector<double> moves = scene.placingMoves();
    scene.click(scene.below());
    // A finished measurement computes afresh on every calculate.
    const double calculate = timed(10, [&] { m->calculate(); });
    std::printf("%-28s %6lld points, %s: mouse move while placing %.2f ms (95 %%: %.2f ms); "
                "whole calculate %.2f ms\n",
                kind.name, points, qPrintable(m->valueText()), median(moves), percentile95(moves), calculate);
}

void benchPieces(Scene& scene)
{
    const auto data = scene.trace->data()->constBegin();
    const CurveSpan span{data + 450000, data + 550000};
    const double line = timed(20, [&] { Algos::RMS fit(span.first, span.last); });
    const double circle = timed(20, [&] {
        QPointF centre;
        double radius = 0;
        Algos::fitCircle(span.first, span.last, centre, radius);
    });
    std::printf("fits over 100000 points: line %.2f ms, circle %.2f ms (target 2 ms)\n", line, circle);

    const double search = timed(5, [&] { fitGivenRadiusToSpan(span, kRadius * 0.9); });
    const double searchExact = timed(5, [&] { fitGivenRadiusToSpan(span, kRadius); });
    std::printf("given-radius search over 100000 points: %.1f ms for a radius 10 %% off, %.1f ms for the arc's own "
                "(target 50 ms)\n",
                search, searchExact);

    QVector<double> keys, values;
    for (auto it = span.first; it != span.last; ++it) {
        keys.append(it->key);
        values.append(it->value);
    }
    const double medians = timed(5, [&] { MeasurementMath::runningMedian(keys, values, 500 * kStep); });
    std::printf("running median over 100000 points, 500-point window: %.1f ms (target 20 ms)\n", medians);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Scene scene;
    benchPieces(scene);
    const Kind kinds[] = {
        {"11 deviation from a line", [](PlotWidget* p) { return new RMSEMeasurement(p, 1); }, 1},
        {"12 deviation from a circle", [](PlotWidget* p) { return new RDEMeasurement(p, 1); }, 1},
        {"13 given radius", [](PlotWidget* p) { return new RDEMSpecified(p, 1, kRadius * 0.9); }, 1},
        {"14 filtered", [](PlotWidget* p) { return new RadiusDisplacementFilterErrorMeasurement(p, 1); }, 1},
        {"15 two stretches", [](PlotWidget* p) { return new RadiusDisplacementErrorMeasurementByTwoSegment(p, 1, 2); },
         2},
        {"16 two stretches, filtered", [](PlotWidget* p) { return new RDEMFiterByTwoSegment(p, 1, 2); }, 2},
        {"6 radius", [](PlotWidget* p) { return new RegularRadiusMeasurement(p, 1); }, 1},
        {"7 radius of two arcs", [](PlotWidget* p) { return new ArcsRadiusMeasurement(p, 1); }, 2},
    };
    for (const Kind& kind : kinds)
        benchKind(scene, kind);
    return 0;
}
