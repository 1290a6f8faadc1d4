#pragma once

#include "Circle.h"
#include "SlopedLine.h"
#include "VerticalLine.h"

#include <QList>
#include <QPointF>

// Where construction primitives cross, in plot data coordinates. Every result
// point is finite: a primitive with a coordinate that is not finite, or a
// circle whose radius is not positive, meets nothing. At a tangency the square
// root of a round-off negative (at most 1e-12 of the terms it is made of) is
// taken as 0.
namespace MeasurementMath {

// Two points where the circles cross (the one to the right of the way from
// the first centre to the second first), one point where they touch from
// outside, the touching point twice where they touch inside, none for
// concentric circles or circles apart.
QList<QPointF> intersectCircles(const Circle& first, const Circle& second);

QList<QPointF> intersectVerticalWithSloped(const VerticalLine& vertical, const SlopedLine& sloped);

// The upper point first; none unless the line passes strictly between the
// circle's leftmost and rightmost points, so a tangent gives none.
QList<QPointF> intersectVerticalWithCircle(const VerticalLine& vertical, const Circle& circle);

// Lower x first; a tangent gives one point.
QList<QPointF> intersectSlopedWithCircle(const SlopedLine& sloped, const Circle& circle);

// None for equal slopes.
QList<QPointF> intersectSlopedLines(const SlopedLine& first, const SlopedLine& second);

} // namespace MeasurementMath
