#include "MinMaxPyramid.h"

#include <qcustomplot.h>

#include <cmath>

void MinMaxPyramid::clear()
{
    m_levels.clear();
    m_count = 0;
}

MinMaxPyramid::Entry MinMaxPyramid::emptyEntry()
{
    return Entry{0, 0, -1, -1};
}

void MinMaxPyramid::merge(Entry& into, const Entry& entry)
{
    if (entry.lowAt >= 0 && (into.lowAt < 0 || entry.low < into.low)) {
        into.low = entry.low;
        into.lowAt = entry.lowAt;
    }
    if (entry.highAt >= 0 && (into.highAt < 0 || entry.high > into.high)) {
        into.high = entry.high;
        into.highAt = entry.highAt;
    }
}

void MinMaxPyramid::mergePoints(Entry& into, const QCPCurveData* data, int from, int to)
{
    for (int i = from; i < to; ++i) {
        const double value = data[i].value;
        if (std::isnan(value))
            continue;
        if (into.lowAt < 0 || value < into.low) {
            into.low = value;
            into.lowAt = i;
        }
        if (into.highAt < 0 || value > into.high) {
            into.high = value;
            into.highAt = i;
        }
    }
}

void MinMaxPyramid::mergeEntries(Entry& into, int level, int from, int to) const
{
    const QVector<Entry>& entries = m_levels.at(level);
    for (int i = from; i < to; ++i)
        merge(into, entries.at(i));
}

void MinMaxPyramid::append(const QCPCurveData* data, int count)
{
    m_count = count;
    for (int level = 0;; ++level) {
        const int below = level == 0 ? m_count : m_levels.at(level - 1).size();
        const int fan = level == 0 ? kBlock : kFan;
        if (below / fan == 0)
            break;
        if (level == m_levels.size())
            m_levels.append(QVector<Entry>());
        appendLevel(level, data);
    }
}

void MinMaxPyramid::appendLevel(int level, const QCPCurveData* data)
{
    QVector<Entry>& entries = m_levels[level];
    const int fan = level == 0 ? kBlock : kFan;
    const int complete = (level == 0 ? m_count : m_levels.at(level - 1).size()) / fan;
    for (int block = entries.size(); block < complete; ++block) {
        Entry entry = emptyEntry();
        if (level == 0)
            mergePoints(entry, data, block * fan, (block + 1) * fan);
        else
            mergeEntries(entry, level - 1, block * fan, (block + 1) * fan);
        entries.append(entry);
    }
}

// Climbs the levels: at each, the units at both ends of the range that do not
// fill an entry of the next level are read, the rest is left to that level.
MinMaxPyramid::Extremes MinMaxPyramid::extremes(const QCPCurveData* data, int from, int to) const
{
    Entry best = emptyEntry();
    int lo = qMax(0, from);
    int hi = qMin(to, m_count);
    for (int level = -1; lo < hi; ++level) {
        auto read = [&](int a, int b) {
            if (level < 0)
                mergePoints(best, data, a, b);
            else
                mergeEntries(best, level, a, b);
        };
        const int fan = level < 0 ? kBlock : kFan;
        const int upLo = (lo + fan - 1) / fan;
        const int upHi = hi / fan;
        if (level + 1 >= m_levels.size() || upLo >= upHi) {
            read(lo, hi);
            break;
        }
        read(lo, upLo * fan);
        read(upHi * fan, hi);
        lo = upLo;
        hi = upHi;
    }
    return Extremes{best.lowAt, best.highAt};
}

bool MinMaxPyramid::Entry::operator==(const Entry& other) const
{
    return lowAt == other.lowAt && highAt == other.highAt && (lowAt < 0 || low == other.low)
        && (highAt < 0 || high == other.high);
}

bool MinMaxPyramid::operator==(const MinMaxPyramid& other) const
{
    return m_count == other.m_count && m_levels == other.m_levels;
}
