#include "PolylineThinner.h"

#include <limits>

void PolylineThinner::addGap()
{
    flushColumn();
    m_haveReference = false;
    if (!m_result.isEmpty() && !PolylineClipping::isGap(m_result.constLast()))
        m_result.append(QPointF(std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()));
}

void PolylineThinner::flushColumn()
{
    if (m_columnSize == 0)
        return;
    const int lastAt = m_columnSize - 1;
    m_result.append(m_first);
    const bool lowestFirst = m_lowestAt < m_highestAt;
    const int middle[2] = {lowestFirst ? m_lowestAt : m_highestAt, lowestFirst ? m_highestAt : m_lowestAt};
    const QPointF middlePoints[2] = {lowestFirst ? m_lowest : m_highest, lowestFirst ? m_highest : m_lowest};
    int previous = 0;
    for (int i = 0; i < 2; ++i) {
        if (middle[i] != previous && middle[i] != lastAt)
            m_result.append(middlePoints[i]);
        previous = qMax(previous, middle[i]);
    }
    if (lastAt != 0)
        m_result.append(m_last);
    m_columnSize = 0;
}

QVector<QPointF> PolylineThinner::take()
{
    flushColumn();
    m_haveReference = false;
    QVector<QPointF> result;
    result.swap(m_result);
    return result;
}

QVector<QPointF> PolylineThinner::thin(const QVector<QPointF>& points)
{
    PolylineThinner thinner;
    for (const QPointF& point : points)
        thinner.add(point);
    return thinner.take();
}
