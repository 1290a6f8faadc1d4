#pragma once

#include "../measurements/PlotBenchSupport.h"

#include "contour/MeasurementsManager.h"
#include "measurements/Measurement.h"

#include "plot/AdaptiveCurve.h"

#include <QApplication>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <memory>

// A contour workspace's plot (1400×900, offscreen) with one 1,000,000-point
// trace and its measurements manager, on which the benchmarks place a mix of
// 30 listed measurements through the manager, with the mouse events a user
// sends: 8 distances, 6 angles, 4 radii and circles, 4 deviations over about
// 50,000 points each, Ra and Rz over 100,000 points, and 6 construction lines
// and points.
class ManagerBenchScene
{
public:
    ManagerBenchScene()
        : plot(new PlotWidget(&window))
    {
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(plot);
        window.resize(1400, 900);
        window.show();
        trace = new AdaptiveCurve(plot->xAxis, plot->yAxis);
        trace->data()->set(contourTrace(), true);
        plot->rescaleAxes();
        plot->yAxis->scaleRange(1.5);
        plot->replot();
        manager = std::make_unique<MeasurementsManager>(plot, &window);
        manager->setTraces({nullptr});
    }

    // A wave of 5 mm with a fine roughness and a little noise: arcs for the
    // circles, flanks for the lines, a profile for the roughness.
    static QVector<QCPCurveData> contourTrace()
    {
        return benchTrace([](double x) { return 5 * std::sin(x * 0.07) + 0.003 * std::sin(x * 78.5); }, 0.0005, 5);
    }

    QPoint pixelAt(qint64 index) const
    {
        const QCPCurveData& point = *(trace->data()->constBegin() + index);
        return QPointF(plot->xAxis->coordToPixel(point.key), plot->yAxis->coordToPixel(point.value)).toPoint();
    }

    void send(QEvent::Type type, const QPoint& pos)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, pos, plot->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(plot, &event);
    }

    void click(const QPoint& pos)
    {
        send(QEvent::MouseMove, pos);
        send(QEvent::MouseButtonPress, pos);
        send(QEvent::MouseButtonRelease, pos);
    }

    // A kind picked by clicks on trace points: the press on the first
    // creates it, then each point is clicked, then the value is placed.
    Measurement* placeByPoints(int kind, const QVector<qint64>& points, const QString& parameter = QString())
    {
        manager->setMeasurementType(kind, true, false, parameter);
        for (qint64 index : points)
            click(pixelAt(index));
        return placeValue();
    }

    // A kind picked by ranges: the press aside the trace creates it, each
    // range is set as the live selection sets it before the release that
    // completes it, then the value is placed.
    Measurement* placeByRanges(int kind, const QVector<QCPDataRange>& ranges, const QString& parameter = QString())
    {
        manager->setMeasurementType(kind, true, false, parameter);
        send(QEvent::MouseMove, aside());
        send(QEvent::MouseButtonPress, aside());
        for (int i = 0; i < ranges.size(); ++i) {
            if (i > 0)
                send(QEvent::MouseButtonPress, aside());
            trace->setSelection(QCPDataSelection(ranges.at(i)));
            send(QEvent::MouseButtonRelease, aside());
        }
        return placeValue();
    }

    // The 30 measurements of the mix, all finished and listed; a line on
    // stderr for any that did not finish.
    void placeMixedMeasurements()
    {
        const auto range = [](qint64 begin, qint64 size) { return QCPDataRange(int(begin), int(begin + size)); };
        constexpr qint64 kStretch = 50000;
        constexpr qint64 kRoughness = 100000;
        for (int i = 0; i < 2; ++i) {
            const qint64 at = 100000 + i * 400000;
            placeByPoints(VERTICAL_DISTANCE, {at, at + 150000});
            placeByPoints(HORIZONTAL_DISTANCE, {at + 20000, at + 170000});
            placeByPoints(DIRECT_DISTANCE, {at + 40000, at + 190000});
            placeByRanges(MEAN_HEIGHT, {range(at, 30000), range(at + 200000, 30000)});
            placeByRanges(VERTICAL_ANGLE, {range(at + 60000, kStretch)});
            placeByRanges(HORIZONTAL_ANGLE, {range(at + 120000, kStretch)});
            placeByRanges(REGULAR_ANGLE, {range(at, kStretch), range(at + 250000, kStretch)});
        }
        placeByRanges(REGULAR_RADIUS, {range(200000, kStretch)});
        placeByRanges(ARCS_RADIUS, {range(600000, kStretch / 2), range(650000, kStretch / 2)});
        placeByRanges(CIRCLE, {range(300000, kStretch)});
        placeByRanges(CIRCLE_SPECIFIED, {range(700000, kStretch)}, QStringLiteral("15"));
        placeByRanges(LINE_DEVIATION, {range(150000, kStretch)});
        placeByRanges(CIRCLE_DEVIATION, {range(350000, kStretch)});
        placeByRanges(CIRCLE_DEVIATION_FILTERED, {range(550000, kStretch)});
        placeByRanges(CIRCLE_DEVIATION_BY_SEGMENTS, {range(750000, kStretch / 2), range(800000, kStretch / 2)},
                      QStringLiteral("2"));
        placeByRanges(ROUGHNESS_RA, {range(250000, kRoughness)});
        placeByRanges(ROUGHNESS_RZ, {range(650000, kRoughness)});
        placeByPoints(HORIZONTAL_LINE, {120000});
        placeByPoints(VERTICAL_LINE, {480000});
        placeByPoints(TWO_POINT_LINE, {520000, 880000});
        placeByPoints(TRACE_POINT, {330000});
        placeByPoints(MIDDLE_POINT, {360000, 460000});
        placeByRanges(MAX_POINT, {range(400000, kStretch)});
        manager->setMeasurementType(NO_MEASUREMENT, true, false, QString());
    }

private:
    QPoint aside() const { return QPoint(plot->axisRect()->rect().left() + 5, plot->axisRect()->rect().top() + 5); }

    // Clicks below the trace until the current measurement is finished.
    Measurement* placeValue()
    {
        Measurement* m = manager->currentMeasurement();
        for (int click = 0; m && !m->isFinished() && click < 3; ++click)
            this->click(QPoint(plot->axisRect()->rect().center().x(), plot->axisRect()->rect().bottom() - 40));
        if (!m || !m->isFinished())
            std::fprintf(stderr, "kind %d not placed\n", manager->measurementType());
        return m;
    }

public:
    // The manager goes before the window, which holds the plot.
    QWidget window;
    PlotWidget* plot;
    AdaptiveCurve* trace = nullptr;
    std::unique_ptr<MeasurementsManager> manager;
};
