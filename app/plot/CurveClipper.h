#pragma once

#include <qcustomplot.h>

#include <QVector>

// Cuts a curve's polyline, fed one data point at a time, at the view's edges
// the way QCPCurve cuts its own lines, so that the segments the edges cut are
// drawn to the pixel as the library draws them. The geometry answers in the
// library's terms: each point's region (5 the view widened by the pen's
// margin), its pixel position, whether that pixel is shown (lies within the
// axis rect, not in the margin around it), the points where a segment crosses
// the border and the corner points that lead the line around the view
// outside it.
//
// The line stays one polyline outside the view, as the library's does: where
// a polyline starts, the pen's cap changes the pixels of its first segment.
// The points inside reach the sink in order by sink.add(point); points the
// line must pass through as they are, with their segments to both
// neighbours, by sink.addKept(point): the points outside, the points inside
// whose pixels are not shown and the points inside next to either. So the
// segments across the axis rect's border are drawn as they are: beyond the
// border, the columns and rows that would show where a thinned segment went
// instead are cut away. A point without a pixel position (a NaN coordinate)
// goes in by sink.add as well, where the library's line has a gap.
//
// As in the library, the first point is joined from the last one: a segment
// from there that reaches the view starts the line, the rest of it ends it.
template <typename Geometry, typename Sink>
class CurveClipper
{
public:
    CurveClipper(const Geometry& geometry, Sink& sink)
        : m_geometry(geometry)
        , m_sink(sink)
    {
    }

    // Starts the polyline whose last point will be `last`.
    void start(const QCPCurveData& last)
    {
        m_previous = last;
        m_previousRegion = m_geometry.region(last);
        m_first = true;
        m_trailing.clear();
    }

    void add(const QCPCurveData& point)
    {
        const int region = m_geometry.region(point);
        if (region != m_previousRegion)
            addCrossing(m_previous, m_previousRegion, point, region);
        else if (region == kInside)
            hold(point, false);
        m_previous = point;
        m_previousRegion = region;
        m_first = false;
    }

    void finish()
    {
        release(true);
        for (const QPointF& point : qAsConst(m_trailing))
            m_sink.addKept(point);
        m_trailing.clear();
    }

private:
    static constexpr int kInside = 5;

    void addCrossing(const QCPCurveData& a, int regionA, const QCPCurveData& b, int regionB)
    {
        if (regionB == kInside) {
            const QPointF entry = m_geometry.crossing(regionA, a, b);
            if (m_first)
                m_trailing.append(entry);
            else
                m_sink.addKept(entry);
            hold(b, true);
            return;
        }
        if (regionA == kInside) {
            release(true);
            m_sink.addKept(m_geometry.crossing(regionB, b, a));
            addKept(m_geometry.cornerPoints(regionA, regionB, a, b));
            return;
        }
        QPointF crossA, crossB;
        QVector<QPointF> before, after;
        if (m_geometry.traverse(regionA, a, regionB, b, crossA, crossB, before, after)) {
            if (m_first) {
                m_sink.addKept(crossB);
                addKept(after);
                m_trailing << before << crossA;
            } else {
                addKept(before);
                m_sink.addKept(crossA);
                m_sink.addKept(crossB);
                addKept(after);
            }
            return;
        }
        addKept(m_geometry.cornerPoints(regionA, regionB, a, b));
    }

    void addKept(const QVector<QPointF>& points)
    {
        for (const QPointF& point : points)
            m_sink.addKept(point);
    }

    // The last point inside waits for the next one: where that one lies
    // outside, the segment to the crossing starts from this point as it is.
    void hold(const QCPCurveData& point, bool kept)
    {
        release(false);
        m_held = true;
        m_heldPixel = m_geometry.pixel(point);
        m_heldKept = kept || !m_geometry.isShown(m_heldPixel);
    }

    void release(bool lineLeaves)
    {
        if (!m_held)
            return;
        if (lineLeaves || m_heldKept)
            m_sink.addKept(m_heldPixel);
        else
            m_sink.add(m_heldPixel);
        m_held = false;
    }

    const Geometry& m_geometry;
    Sink& m_sink;
    QCPCurveData m_previous;
    int m_previousRegion = kInside;
    bool m_first = true;
    QVector<QPointF> m_trailing;
    bool m_held = false;
    bool m_heldKept = false;
    QPointF m_heldPixel;
};
