#pragma once

#include "RMS.h"

#include <QPointF>
#include <QString>

class PlotWidget;
struct Selection;

// What both lay-flat kinds do to level the contour: the angle that lays the
// fitted line flat, its centre on the first selected point, the rotation of
// the trace curves' data in place, and the texts they report.
namespace LayFlatLevelling {

// The fitted line's angle to the x axis, negated (radians).
double angleOf(const Algos::RMS& line);

// The first point of the range, (0, 0) in a coordinate the curve lacks.
QPointF centreOf(const Selection& first);

// Rotates every point of the registry's curves 0 .. traceCount - 1 about the
// centre; the curves' keys and values change, their order does not.
void rotateTraces(PlotWidget* plot, int traceCount, double angle, const QPointF& centre);

// After levelling, the trace curves pick single points again.
void pickSinglePoints(PlotWidget* plot, int traceCount);

// "Укладка готова: [c0, c1]" with the line's coefficients.
QString readyText(const Algos::RMS& line);

} // namespace LayFlatLevelling
