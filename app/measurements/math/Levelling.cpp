#include "Levelling.h"

#include "Geometry.h"

#include <QLineF>

#include <cmath>

namespace MeasurementMath {

bool holdsLine(const Algos::CoeffFitter& line)
{
    return line.isValid() && std::isfinite(line.coefficient(0)) && std::isfinite(line.coefficient(1));
}

double levellingAngle(double c0, double slope)
{
    const QLineF fitted(0, c0, 1, c0 + slope);
    const QLineF horizontal(0, 0, 1, 0);
    double degrees = fitted.angleTo(horizontal);
    if (degrees > 180)
        degrees = -horizontal.angleTo(fitted);
    return degrees * -Algos::kRadiansPerDegree;
}

} // namespace MeasurementMath
