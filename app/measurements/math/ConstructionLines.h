#pragma once

#include "SlopedLine.h"

#include <QLineF>
#include <QPointF>
#include <QVector>

// The geometry of the construction points and lines: which two points a
// drawn straight line passes through (a QLineF holds the pair), the line
// through two clicked points and the midpoint between them.
namespace MeasurementMath {

// The least-squares line of the two points; coefficients that are not numbers
// when both have the same x.
SlopedLine lineThroughPoints(const QPointF& first, const QPointF& second);

QPointF midpoint(const QPointF& first, const QPointF& second);

// The horizontal line y = y0, through (0, y0) and (1, y0).
QLineF horizontalLineThrough(double y);

// The vertical line x = x0, through (x0, 0) and (x0, 1).
QLineF verticalLineThrough(double x);

// The sloped line between the keys from and to.
QLineF slopedLineBetween(const SlopedLine& line, double from, double to);

// The line x = c0·y + c1 of a vertical line's coordinates, through its points
// at y = -1000000 and y = 1000000.
QLineF verticalLineOfCoordinates(double c0, double c1);

// How far to both sides of x = 0 a sloped line built from coordinates is
// drawn: 100 times the widest key span of the plot's curves, at least 1 so
// that the two points never coincide.
double slopedLineReach(const QVector<double>& curveKeySpans);

} // namespace MeasurementMath
