#pragma once

#include "contour/ContourAnalisisWidget.h"
#include "contour/MeasurementsManager.h"
#include "measurements/Measurement.h"
#include "plot/PlotWidget.h"

#include "PlainTrace.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>

#include <cmath>
#include <random>

// A contour tab on one 1,000,000-point trace with 30 measurements placed
// through the measurement buttons and the plot's mouse, for the contour
// benchmarks.

constexpr int kContourTracePoints = 1000000;

// 100 mm at 0.1 µm steps, in micrometres as a contour trace keeps them: a
// wave of 5 mm with a 3 µm roughness of 80 µm period and 0.5 µm of noise.
// The seed is fixed.
inline ProfileData contourBenchColumns()
{
    constexpr double kPi = 3.14159265358979323846;
    std::mt19937 generator(7);
    std::normal_distribution<double> noise(0.0, 0.5);
    ProfileData columns(2);
    columns[0].reserve(kContourTracePoints);
    columns[1].reserve(kContourTracePoints);
    for (int i = 0; i < kContourTracePoints; ++i) {
        const double x = i * 0.1;
        columns[0].append(x);
        columns[1].append(5000 * std::sin(x * 0.00007) + 3 * std::sin(2 * kPi * x / 80) + noise(generator));
    }
    return columns;
}

namespace contourbench {

inline void send(PlotWidget* plot, QEvent::Type type, const QPoint& pos)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, pos, plot->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(plot, &event);
}

// The pixel of the trace point at x millimetres.
inline QPoint tracePixel(PlotWidget* plot, double x)
{
    const QCPCurve* trace = plot->curve(0);
    const int index = std::clamp(int(std::lround(x * 10000)), 0, trace->dataCount() - 1);
    const QCPCurveData& point = *(trace->data()->constBegin() + index);
    return QPointF(plot->xAxis->coordToPixel(point.key), plot->yAxis->coordToPixel(point.value)).toPoint();
}

// A drag along the trace from x0 to x1 (millimetres): a range for the range
// kinds, the points at its ends for the point kinds.
inline void drag(PlotWidget* plot, double x0, double x1)
{
    const QPoint from = tracePixel(plot, x0);
    const QPoint to = tracePixel(plot, x1);
    send(plot, QEvent::MouseMove, from);
    send(plot, QEvent::MouseButtonPress, from);
    send(plot, QEvent::MouseMove, (from + to) / 2);
    send(plot, QEvent::MouseMove, to);
    send(plot, QEvent::MouseButtonRelease, to);
}

} // namespace contourbench

// Places the mix of 30 measurements on the tab's trace (display unit
// millimetres): 8 distances, 6 angles, 4 radii and circles, 4 deviations over
// ranges of 50,000 points, Ra and Rz over 100,000 points, 6 construction
// lines and points. Each is chosen with its button and picked by drags
// along monotonic stretches of the wave until it is finished. Returns the
// number of listed measurements.
inline int placeBenchMeasurements(ContourAnalisisWidget& widget)
{
    struct Entry
    {
        const char* action;
        const char* button;
        double start;  // mm
        double length; // mm, of each range
    };
    const Entry mix[] = {
        {"actionDistance", "pushButtonVerticalDistance", 2, 5},
        {"actionDistance", "pushButtonHorisontalDistance", 25, 5},
        {"actionDistance", "pushButtonDirectDistance", 70, 5},
        {"actionDistance", "pushButtonVerticalDistance", 40, 5},
        {"actionDistance", "pushButtonHorisontalDistance", 8, 5},
        {"actionDistance", "pushButtonDirectDistance", 50, 5},
        {"actionDistance", "pushButtonMeanHeight", 3, 5},
        {"actionDistance", "pushButtonMeanHeight", 44, 5},
        {"actionAngle", "pushButtonDirectAngle", 1, 5},
        {"actionAngle", "pushButtonHHorizonAngle", 28, 5},
        {"actionAngle", "pushButtonVHorizonAngle", 72, 5},
        {"actionAngle", "pushButtonDirectAngle", 30, 5},
        {"actionAngle", "pushButtonHHorizonAngle", 4, 5},
        {"actionAngle", "pushButtonVHorizonAngle", 80, 5},
        {"actionRadius", "pushButtonRadius", 17, 5},
        {"actionRadius", "pushButtonMultiRadius", 60, 5},
        {"actionCircumferenceAdditionalGeometry", "pushButtonCircumSelect", 62, 5},
        {"actionRadius", "pushButtonRadius", 18, 5},
        {"actionErrors", "pushButtonRMSE", 5, 5},
        {"actionErrors", "pushButtonRadiusError", 16, 5},
        {"actionErrors", "pushButtonRadiusErrorFilter", 61, 5},
        {"actionErrors", "pushButtonRMSE", 85, 5},
        {"actionR", "pushButtonCalculateRA", 6, 10},
        {"actionR", "pushButtonCalculateRZ", 70, 10},
        {"actionLineAdditionalGeometry", "pushButtonAddGeomHorizontalLine", 11, 5},
        {"actionLineAdditionalGeometry", "pushButtonAddGeomVerticlaLine", 35, 5},
        {"actionLineAdditionalGeometry", "pushButtonAddGeomDoubleClickLine", 52, 5},
        {"actionLineAdditionalGeometry", "pushButtonAddGeomPoint", 13, 5},
        {"actionLineAdditionalGeometry", "pushButtonAddGoemMiddlePoint", 57, 5},
        {"actionLineAdditionalGeometry", "pushButtonFindMaxPoint", 88, 5},
    };
    auto* plot = widget.findChild<PlotWidget*>(QStringLiteral("plot"));
    MeasurementsManager* manager = widget.measurementsManager();
    for (const Entry& entry : mix) {
        widget.findChild<QAction*>(QLatin1String(entry.action))->setChecked(true);
        widget.findChild<QPushButton*>(QLatin1String(entry.button))->click();
        // The ranges follow each other with a gap of a tenth of their length.
        for (int range = 0; range < 6; ++range) {
            const double from = entry.start + range * entry.length * 1.1;
            contourbench::drag(plot, from, from + entry.length);
            const Measurement* current = manager->currentMeasurement();
            if (current && current->isFinished())
                break;
        }
    }
    return manager->measurements().size();
}
