#include "LevelCounter.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Algos {

LevelCounter::LevelCounter(const QVector<double>& levels, const QVector<double>& heights)
{
    for (double level : levels) {
        if (!std::isnan(level))
            m_sorted.append(level);
    }
    std::sort(m_sorted.begin(), m_sorted.end());
    m_sorted.erase(std::unique(m_sorted.begin(), m_sorted.end()), m_sorted.end());
    const int slots = m_sorted.size();

    m_slotOfLevel.reserve(levels.size());
    for (double level : levels) {
        m_slotOfLevel.append(std::isnan(level) ? slots
                                               : int(std::lower_bound(m_sorted.begin(), m_sorted.end(), level)
                                                     - m_sorted.begin()));
    }

    if (slots > 1) {
        const double span = m_sorted.last() - m_sorted.first();
        if (std::isfinite(span) && span > 0)
            m_scale = (slots - 1) / span;
    }

    // equal[i]: heights equal to level i; strictlyAbove[i]: heights above level i and,
    // for i < slots - 1, below level i + 1.
    std::vector<int> equal(slots, 0);
    std::vector<int> strictlyAbove(slots, 0);
    const double* const sorted = m_sorted.constData();
    for (double height : heights) {
        const int atOrBelow = slotsAtOrBelow(height);
        if (atOrBelow == 0)
            continue;
        const int slot = atOrBelow - 1;
        if (sorted[slot] == height)
            ++equal[slot];
        else
            ++strictlyAbove[slot];
    }

    m_atOrAbove.fill(0, slots + 1);
    m_above.fill(0, slots + 1);
    int higher = 0;
    for (int slot = slots - 1; slot >= 0; --slot) {
        higher += strictlyAbove[slot];
        m_above[slot] = higher;
        higher += equal[slot];
        m_atOrAbove[slot] = higher;
    }
}

int LevelCounter::between(int lowIndex, int highIndex) const
{
    const int low = m_slotOfLevel.at(lowIndex);
    const int high = m_slotOfLevel.at(highIndex);
    if (low == m_sorted.size() || high == m_sorted.size() || low > high)
        return 0;
    return m_atOrAbove.at(low) - m_above.at(high);
}

// The number of levels at or below the height: 0 below the lowest level (and
// for a not-a-number), m_sorted.size() at or above the highest.
int LevelCounter::slotsAtOrBelow(double height) const
{
    const int slots = m_sorted.size();
    const double* const sorted = m_sorted.constData();
    if (slots == 0 || !(height >= sorted[0]))
        return 0;
    if (height >= sorted[slots - 1])
        return slots;
    int slot = 0;
    if (m_scale > 0)
        slot = std::clamp(int((height - sorted[0]) * m_scale), 0, slots - 2);
    // The guess is right or one off for evenly spread levels; the loops
    // settle the rest. sorted[slots - 1] > height here, so slot stays in range.
    slot += sorted[slot + 1] <= height;
    slot -= sorted[slot] > height;
    while (sorted[slot + 1] <= height)
        ++slot;
    while (slot > 0 && sorted[slot] > height)
        --slot;
    return slot + 1;
}

} // namespace Algos
