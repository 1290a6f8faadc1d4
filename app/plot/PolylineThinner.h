#pragma once

#include "PolylineClipping.h"

#include <QPointF>
#include <QVector>

#include <cmath>

// Thins a polyline in pixel coordinates, fed one point at a time, to what a
// pixel raster can show:
// 1. of each stretch between gaps, the first point and every following point
//    that lies more than one pixel, in x or in y, from the last point kept;
//    of the points left out before such a point, the last comes back where
//    the line past it, from the last point kept, misses its height in its
//    pixel column (a column's edge drawn by a rasterizer depends on it);
// 2. of each run of such points in one pixel column (same floor of x), only
//    the first, lowest, highest and last; the two extremes in the order that
//    keeps the line short (see visitsLowestFirst);
// 3. where the runs of two neighbouring columns meet, the last point of the
//    one and the first of the other, as far as they are not extremes of their
//    runs, may give way to one or two points of our choice (see
//    mayJoinPreviousColumn and joinColumns), which keeps the pixels each
//    column covers while the line gets much shorter to paint.
// A point with a NaN coordinate is a gap: it interrupts the line and is kept,
// one per gap.
class PolylineThinner
{
public:
    void add(const QPointF& point)
    {
        if (PolylineClipping::isGap(point)) {
            addGap();
            return;
        }
        if (m_haveReference && !m_keepNext && !movesMoreThanOnePixel(point)) {
            m_skipped = point;
            m_haveSkipped = true;
            return;
        }
        if (m_haveSkipped && !passesInColumn(m_reference, point, m_skipped))
            addToColumn(m_skipped);
        m_haveSkipped = false;
        m_keepNext = false;
        m_reference = point;
        m_haveReference = true;
        addToColumn(point);
    }

    void addGap();

    // A point the line passes through as it is, with its segments to the
    // points before and after it: none of the three gives way.
    void addKept(const QPointF& point);

    // Draws the extremes within a run at the middle of their column, for an
    // antialiased pen: one line down the middle of a pixel column fills that
    // column, as the many lines of a dense trace do, where a line off the
    // middle leaves two columns half-toned.
    void setExtremesInColumnMiddle(bool inMiddle) { m_extremesInColumnMiddle = inMiddle; }

    // The thinned polyline; the thinner starts afresh.
    QVector<QPointF> take();

    static QVector<QPointF> thin(const QVector<QPointF>& points);

private:
    bool movesMoreThanOnePixel(const QPointF& p) const
    {
        return p.x() > m_reference.x() + 1 || p.x() < m_reference.x() - 1 || p.y() > m_reference.y() + 1
            || p.y() < m_reference.y() - 1;
    }

    // Whether the segment a-b passes through the height of p in p's pixel column.
    static bool passesInColumn(const QPointF& a, const QPointF& b, const QPointF& p);

    void addToColumn(const QPointF& point)
    {
        const double column = std::floor(point.x());
        if (m_columnSize == 0 || column != m_column) {
            flushColumn();
            m_column = column;
            m_first = m_lowest = m_highest = point;
            m_lowestAt = m_highestAt = 0;
        } else {
            if (point.y() < m_lowest.y()) {
                m_lowest = point;
                m_lowestAt = m_columnSize;
            }
            if (point.y() > m_highest.y()) {
                m_highest = point;
                m_highestAt = m_columnSize;
            }
        }
        m_last = point;
        ++m_columnSize;
    }

    void flushColumn();
    QPointF drawnExtreme(int place, const QPointF& extreme) const;
    bool mayJoinPreviousColumn() const;
    bool visitsLowestFirst(bool joining) const;
    void appendPoint(const QPointF& point);
    int joinColumns(const QPointF& entered, QPointF join[2]) const;

    QVector<QPointF> m_result;
    bool m_extremesInColumnMiddle = false;
    bool m_haveReference = false;
    QPointF m_reference;
    // The last point left out for lying near the reference, and whether the
    // next point is kept whatever its distance (it follows a kept point).
    bool m_haveSkipped = false;
    QPointF m_skipped;
    bool m_keepNext = false;
    int m_columnSize = 0;
    double m_column = 0;
    QPointF m_first, m_lowest, m_highest, m_last;
    int m_lowestAt = 0, m_highestAt = 0;
    // Whether the result ends with the run of a column, whether its last point
    // lies strictly between that run's extremes; that column, the run's
    // height and the extreme the line reached last in it.
    bool m_joinable = false;
    bool m_lastIsExtra = false;
    double m_previousColumn = 0;
    double m_previousLowest = 0, m_previousHighest = 0;
    QPointF m_previousExtreme;
};
