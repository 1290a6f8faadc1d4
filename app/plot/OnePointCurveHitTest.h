#pragma once

#include <qcustomplot.h>

// What QCPCurve::selectTest(pos, true) answers for a curve with exactly one
// data point, without the library's allocations: the pixel distance from pos
// to the point, or -1 when the curve cannot be hit (not selectable, no axes,
// pos outside the axis rect, nothing drawn). The snap asks this of every
// reference point's pick curve on every mouse move.
double onePointCurveHitTest(const QCPCurve* curve, const QPointF& pos);
