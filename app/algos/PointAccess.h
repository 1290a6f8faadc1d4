#pragma once

#include <QPointF>

namespace Algos {

// Coordinates of a point handed to the fits: curve points (any type with the
// members key and value, such as the plot's curve data) or plain 2-D points.
template <typename Point>
double pointX(const Point& point)
{
    return point.key;
}

template <typename Point>
double pointY(const Point& point)
{
    return point.value;
}

inline double pointX(const QPointF& point)
{
    return point.x();
}

inline double pointY(const QPointF& point)
{
    return point.y();
}

} // namespace Algos
