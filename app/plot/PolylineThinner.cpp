#include "PolylineThinner.h"

#include <algorithm>
#include <cmath>
#include <limits>

void PolylineThinner::addGap()
{
    flushColumn();
    m_haveReference = false;
    m_haveSkipped = false;
    m_keepNext = false;
    m_joinable = false;
    if (!m_result.isEmpty() && !PolylineClipping::isGap(m_result.constLast()))
        m_result.append(QPointF(std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()));
}

void PolylineThinner::addKept(const QPointF& point)
{
    if (PolylineClipping::isGap(point)) {
        addGap();
        return;
    }
    if (m_haveSkipped)
        addToColumn(m_skipped);
    flushColumn();
    appendPoint(point);
    m_reference = point;
    m_haveReference = true;
    m_haveSkipped = false;
    m_keepNext = true;
    m_joinable = false;
}

void PolylineThinner::flushColumn()
{
    if (m_columnSize == 0)
        return;
    const int lastAt = m_columnSize - 1;
    const bool joining = mayJoinPreviousColumn();
    const bool lowestFirst = visitsLowestFirst(joining);
    const int enteredAt = lowestFirst ? m_lowestAt : m_highestAt;
    const int leftAt = lowestFirst ? m_highestAt : m_lowestAt;
    const QPointF entered = drawnExtreme(enteredAt, lowestFirst ? m_lowest : m_highest);
    const QPointF left = drawnExtreme(leftAt, lowestFirst ? m_highest : m_lowest);

    QPointF join[2];
    const int joinSize = joining ? joinColumns(entered, join) : 0;
    if (joinSize > 0 && m_lastIsExtra)
        m_result.removeLast();
    for (int i = 0; i < joinSize; ++i)
        appendPoint(join[i]);

    // Each point of the run once: its first (unless joined), its extremes, its last.
    int taken[4];
    int takenCount = 0;
    auto take = [&](int place, const QPointF& point) {
        if (std::find(taken, taken + takenCount, place) != taken + takenCount)
            return;
        taken[takenCount++] = place;
        appendPoint(point);
    };
    if (joinSize == 0)
        take(0, m_first);
    take(enteredAt, entered);
    take(leftAt, left);
    take(lastAt, m_last);

    // A last point at the height of an extreme stands for that extreme.
    m_joinable = true;
    m_lastIsExtra = m_last.y() > m_lowest.y() && m_last.y() < m_highest.y() && m_result.constLast() == m_last;
    m_previousColumn = m_column;
    m_previousLowest = m_lowest.y();
    m_previousHighest = m_highest.y();
    m_previousExtreme = m_lastIsExtra ? left : m_result.constLast();
    m_columnSize = 0;
}

// Where an extreme within a run is drawn; the run's first and last point stay
// where they are, since the segments to the neighbouring columns start there.
QPointF PolylineThinner::drawnExtreme(int place, const QPointF& extreme) const
{
    if (!m_extremesInColumnMiddle || place == 0 || place == m_columnSize - 1)
        return extreme;
    return QPointF(m_column + 0.5, extreme.y());
}

// An extreme that is the run's first point comes first, one that is its last
// point comes last; otherwise the one nearer to where the line comes from,
// the earlier one of two as near. Sweeping neighbouring columns up and down in
// turn keeps the line short.
bool PolylineThinner::visitsLowestFirst(bool joining) const
{
    const int lastAt = m_columnSize - 1;
    if (m_lowestAt == 0 || m_highestAt == lastAt)
        return true;
    if (m_highestAt == 0 || m_lowestAt == lastAt)
        return false;
    const double from = joining ? m_previousExtreme.y() : m_first.y();
    const double toLowest = std::abs(from - m_lowest.y());
    const double toHighest = std::abs(from - m_highest.y());
    return toLowest < toHighest || (toLowest == toHighest && m_lowestAt < m_highestAt);
}

void PolylineThinner::appendPoint(const QPointF& point)
{
    if (m_result.isEmpty() || point != m_result.constLast())
        m_result.append(point);
}

namespace {

bool isWithin(double y, double low, double high)
{
    return y >= low && y <= high;
}

} // namespace

// Where the runs of two neighbouring columns meet, the last point of the one
// and the first point of the other are needed only as far as they are
// extremes of their runs: the line between the runs may cross the column
// border at any height within both runs, since either column covers that
// height anyway. Where the segment between the runs may cross the border
// beyond either run's height, the real points stay.
bool PolylineThinner::mayJoinPreviousColumn() const
{
    const bool firstIsExtra = m_lowestAt != 0 && m_highestAt != 0;
    if (!m_joinable || std::abs(m_column - m_previousColumn) != 1 || (!firstIsExtra && !m_lastIsExtra))
        return false;
    // Where the rasterizer, working in 1/64 pixel, has the segment cross the
    // border is known only to the heights it passes near the border.
    const QPointF& previous = m_result.constLast();
    const double border = qMax(m_column, m_previousColumn);
    auto heightAt = [&](double x) {
        const double t = qBound(0.0, (x - previous.x()) / (m_first.x() - previous.x()), 1.0);
        return previous.y() + t * (m_first.y() - previous.y());
    };
    for (const double crossing : {heightAt(border - 1.0 / 32), heightAt(border + 1.0 / 32)}) {
        if (!isWithin(crossing, m_lowest.y(), m_highest.y())
            || !isWithin(crossing, m_previousLowest, m_previousHighest))
            return false;
    }
    return true;
}

// The line crosses level with the extreme it reached last before the border
// when that lies within the next run's height, or else level with the
// extreme it enters next; the points that are not extremes give way to the
// points where the line turns (join, one or two, returned in number).
//
// The step across the border reaches beyond the middle of the next column: a
// rasterizer that drops a step adding no new pixel would otherwise draw the
// following segment from the point before the step, in the wrong column.
int PolylineThinner::joinColumns(const QPointF& entered, QPointF join[2]) const
{
    const double direction = m_column - m_previousColumn;
    const double beyondMiddle = m_column + 0.5 + direction / 64;
    const bool enteredBeyondMiddle = (entered.x() - beyondMiddle) * direction >= 0;
    if (isWithin(m_previousExtreme.y(), m_lowest.y(), m_highest.y())) {
        join[0] = QPointF(enteredBeyondMiddle ? entered.x() : beyondMiddle, m_previousExtreme.y());
        return 1;
    }
    if (!isWithin(entered.y(), m_previousLowest, m_previousHighest))
        return 0;
    join[0] = QPointF(m_previousExtreme.x(), entered.y());
    if (enteredBeyondMiddle)
        return 1;
    join[1] = QPointF(beyondMiddle, entered.y());
    return 2;
}

bool PolylineThinner::passesInColumn(const QPointF& a, const QPointF& b, const QPointF& p)
{
    const double left = std::floor(p.x());
    const double from = std::max(std::min(a.x(), b.x()), left);
    const double to = std::min(std::max(a.x(), b.x()), left + 1);
    if (from > to)
        return false;
    if (a.x() == b.x())
        return isWithin(p.y(), std::min(a.y(), b.y()), std::max(a.y(), b.y()));
    auto heightAt = [&](double x) { return a.y() + (x - a.x()) / (b.x() - a.x()) * (b.y() - a.y()); };
    const double y1 = heightAt(from);
    const double y2 = heightAt(to);
    return isWithin(p.y(), std::min(y1, y2), std::max(y1, y2));
}

QVector<QPointF> PolylineThinner::take()
{
    flushColumn();
    m_haveReference = false;
    m_haveSkipped = false;
    m_keepNext = false;
    m_joinable = false;
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
