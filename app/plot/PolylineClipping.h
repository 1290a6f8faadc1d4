#pragma once

#include <QPointF>
#include <QRectF>

#include <cmath>

// Geometry of clipping a polyline in pixel coordinates to a rectangle. A point
// with a NaN coordinate is a gap.
namespace PolylineClipping {

inline bool isInside(const QRectF& rect, const QPointF& p)
{
    return p.x() >= rect.left() && p.x() <= rect.right() && p.y() >= rect.top() && p.y() <= rect.bottom();
}

inline bool isGap(const QPointF& p)
{
    return std::isnan(p.x()) || std::isnan(p.y());
}

} // namespace PolylineClipping
