#pragma once

#include <QPointF>

#include <cmath>
#include <limits>

namespace MeasurementMath {

// The nearest single-precision value, back as a double: cursor positions are
// kept with about seven significant digits. Beyond the float range the result
// is infinite, as the hardware conversion gives it.
inline double toSinglePrecision(double value)
{
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (std::isnan(value))
        return value;
    if (value > kLargest)
        return std::numeric_limits<double>::infinity();
    if (value < -kLargest)
        return -std::numeric_limits<double>::infinity();
    return double(float(value));
}

inline QPointF toSinglePrecision(const QPointF& point)
{
    return QPointF(toSinglePrecision(point.x()), toSinglePrecision(point.y()));
}

} // namespace MeasurementMath
