#pragma once

#include "PolylineClipping.h"

#include <QPointF>
#include <QVector>

#include <cmath>

// Thins a polyline in pixel coordinates, fed one point at a time, to what a
// pixel raster can show:
// 1. of each stretch between gaps, the first point and every following point
//    that lies more than one pixel, in x or in y, from the last point kept;
// 2. of each run of such points in one pixel column (same floor of x), only
//    the first, lowest, highest and last, in their original order.
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
        if (m_haveReference && !movesMoreThanOnePixel(point))
            return;
        m_reference = point;
        m_haveReference = true;
        addToColumn(point);
    }

    void addGap();

    // The thinned polyline; the thinner starts afresh.
    QVector<QPointF> take();

    static QVector<QPointF> thin(const QVector<QPointF>& points);

private:
    bool movesMoreThanOnePixel(const QPointF& p) const
    {
        return p.x() > m_reference.x() + 1 || p.x() < m_reference.x() - 1 || p.y() > m_reference.y() + 1
            || p.y() < m_reference.y() - 1;
    }

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

    QVector<QPointF> m_result;
    bool m_haveReference = false;
    QPointF m_reference;
    int m_columnSize = 0;
    double m_column = 0;
    QPointF m_first, m_lowest, m_highest, m_last;
    int m_lowestAt = 0, m_highestAt = 0;
};
