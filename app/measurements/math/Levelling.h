#pragma once

#include "CoeffFitter.h"
#include "PointAccess.h"
#include "PointRotation.h"

#include <QPointF>

namespace MeasurementMath {

// Whether a straight-line fit found a line: it holds coefficients and they are
// finite (a stretch whose keys are all equal has none).
bool holdsLine(const Algos::CoeffFitter& line);

// The angle in radians that turns the line y = c0 + slope x horizontal,
// rotating counter-clockwise: -atan(slope), so negative for a rising line and
// 0 for a horizontal one. Measured with QLineF's angles (degrees) between the
// line's stretch from x = 0 to x = 1 and the x axis.
double levellingAngle(double c0, double slope);

inline void setPoint(QPointF& point, const QPointF& p)
{
    point = p;
}

// Curve points: any type with the members key and value.
template <typename Point>
void setPoint(Point& point, const QPointF& p)
{
    point.key = p.x();
    point.value = p.y();
}

// Rotates the points [first, last) about the centre in place, each as
// Algos::rotatePoint turns it (centre and angle in single precision; an angle
// of 0 leaves every point as it is).
template <typename Iterator>
void rotateInPlace(Iterator first, Iterator last, const QPointF& centre, double angle)
{
    const Algos::PointRotation rotation(float(centre.x()), float(centre.y()), float(angle));
    if (rotation.isIdentity())
        return;
    for (; first != last; ++first)
        setPoint(*first, rotation(QPointF(Algos::pointX(*first), Algos::pointY(*first))));
}

} // namespace MeasurementMath
