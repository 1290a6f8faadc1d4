#pragma once

#include "PolylineClipping.h"

// Clips a polyline in pixel coordinates, fed one point at a time, to a
// rectangle. The parts inside reach the sink in order (sink.add(point)); where
// the line leaves the rectangle the sink gets sink.addGap(). Segments that
// cross the border end on it. A point with a NaN coordinate is a gap.
template <typename Sink>
class PolylineClipper
{
public:
    PolylineClipper(const QRectF& rect, Sink& sink)
        : m_rect(rect)
        , m_sink(sink)
    {
    }

    void add(const QPointF& point)
    {
        if (m_count++ > 0)
            addSegment(m_previous, point);
        m_previous = point;
    }

    // Ends the polyline: a polyline of one point inside is that point.
    void finish()
    {
        if (m_count == 1 && PolylineClipping::isInside(m_rect, m_previous))
            m_sink.add(m_previous);
        m_count = 0;
        m_penDown = false;
    }

private:
    void addSegment(const QPointF& a, const QPointF& b)
    {
        if (m_penDown && PolylineClipping::isInside(m_rect, b)) {
            m_sink.add(b);
            return;
        }
        QPointF from, to;
        bool reachesEnd = false;
        if (PolylineClipping::isGap(a) || PolylineClipping::isGap(b)
            || !PolylineClipping::clipSegment(m_rect, a, b, from, to, reachesEnd)) {
            if (m_penDown)
                m_sink.addGap();
            m_penDown = false;
            return;
        }
        if (!m_penDown)
            m_sink.add(from);
        m_sink.add(to);
        m_penDown = reachesEnd;
        if (!m_penDown)
            m_sink.addGap();
    }

    QRectF m_rect;
    Sink& m_sink;
    QPointF m_previous;
    int m_count = 0;
    // Whether the last point given to the sink starts the current segment.
    bool m_penDown = false;
};
