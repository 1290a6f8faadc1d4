#pragma once

#include <QVector>

namespace Algos {

// For a handful of levels, how many heights lie at or above each level and how
// many lie between two of them, found in one pass over the heights: each height
// is placed between the sorted levels, and the counts per level are suffix sums.
// Levels and heights may hold any doubles; a not-a-number compares false, so
// it is neither at nor above anything, and nothing is at or above it.
class LevelCounter
{
public:
    LevelCounter(const QVector<double>& levels, const QVector<double>& heights);

    int atOrAbove(int levelIndex) const { return m_atOrAbove.at(m_slotOfLevel.at(levelIndex)); }

    // Heights h with low <= h <= high for two of the levels.
    int between(int lowIndex, int highIndex) const;

private:
    int slotsAtOrBelow(double height) const;

    QVector<double> m_sorted;    // distinct levels that are numbers, ascending
    QVector<int> m_slotOfLevel;  // level index to its slot in m_sorted; m_sorted.size() for a not-a-number
    QVector<int> m_atOrAbove;    // per slot, plus a last slot of zero for not-a-number levels
    QVector<int> m_above;
    double m_scale = 0;          // slots per unit of height, for the first guess of a height's slot
};

} // namespace Algos
