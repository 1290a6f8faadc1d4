#pragma once

#include "SlopedLine.h"

#include <QLineF>
#include <QPointF>

#include <optional>

// The drawing of an angle between two directions at a vertex: which of the
// two supplementary angles the cursor's side of the vertex asks for, the arc
// between the directions and the two construction lines through the vertex.
// Directions, the radius and the drawn points are kept in single precision,
// as the plot's vector type keeps them.
namespace MeasurementMath {

// A 2-D vector in single precision.
struct FloatVector
{
    float x = 0;
    float y = 0;
};

// The vector scaled to length 1 (worked out in double precision, stored in
// single); a vector of length 0 stays 0, one of length 1 stays as it is.
FloatVector normalized(const FloatVector& v);

// The unit direction of a line of slope k, pointing to growing x; (0, ±1)
// when the slope is beyond the single-precision range.
FloatVector directionOfSlope(double k);

// The horizontal (1, 0) and the vertical (0, 1).
FloatVector horizontalDirection();
FloatVector verticalDirection();

// Where the two lines meet; none when they are parallel or the point is not
// finite.
std::optional<QPointF> vertexOf(const SlopedLine& first, const SlopedLine& second);

struct AngleDrawing
{
    double angle = 0;   // degrees, 0 to 180
    int startAngle = 0; // sixteenths of a degree, from the first direction
    int spanAngle = 0;  // sixteenths of a degree, to the second direction
    double radius = 0;  // the cursor's distance from the vertex
    QPointF arcTopLeft; // the square about the vertex the arc is part of
    QPointF arcBottomRight;
    QPointF labelPosition;
    QLineF firstLine;
    QLineF secondLine;
};

// The angle between the directions, each turned to the cursor's side of the
// vertex first, with Qt's counter-clockwise angles of QLineF::angleTo. The
// arc runs through the cursor; the lines reach from 0.2 radius behind the
// vertex to 1.1 radius beyond it.
AngleDrawing drawAngle(const QPointF& vertex, FloatVector first, FloatVector second, const QPointF& cursor);

} // namespace MeasurementMath
