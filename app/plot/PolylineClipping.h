#pragma once

#include <QPointF>
#include <QRectF>
#include <QVector>

#include <cmath>

// Clipping of a polyline in pixel coordinates to a rectangle. The parts inside
// reach the sink in order (sink.add(point)); where the line leaves the
// rectangle the sink gets sink.addGap(). Segments that cross the border end on
// it. A point with a NaN coordinate is a gap.
namespace PolylineClipping {

inline bool isInside(const QRectF& rect, const QPointF& p)
{
    return p.x() >= rect.left() && p.x() <= rect.right() && p.y() >= rect.top() && p.y() <= rect.bottom();
}

inline bool isGap(const QPointF& p)
{
    return std::isnan(p.x()) || std::isnan(p.y());
}

// The visible part [from, to] of the segment a-b; reachesEnd tells whether to is b itself.
bool clipSegment(const QRectF& rect, const QPointF& a, const QPointF& b, QPointF& from, QPointF& to,
                 bool& reachesEnd);

template <typename Sink>
void clip(const QPointF* points, int count, const QRectF& rect, Sink& sink)
{
    if (count == 1 && isInside(rect, points[0]))
        sink.add(points[0]);
    // Whether the last point given to the sink starts the current segment.
    bool penDown = false;
    for (int i = 0; i + 1 < count; ++i) {
        const QPointF& a = points[i];
        const QPointF& b = points[i + 1];
        if (penDown && isInside(rect, b)) {
            sink.add(b);
            continue;
        }
        QPointF from, to;
        bool reachesEnd = false;
        if (isGap(a) || isGap(b) || !clipSegment(rect, a, b, from, to, reachesEnd)) {
            if (penDown)
                sink.addGap();
            penDown = false;
            continue;
        }
        if (!penDown)
            sink.add(from);
        sink.add(to);
        penDown = reachesEnd;
        if (!penDown)
            sink.addGap();
    }
}

} // namespace PolylineClipping
