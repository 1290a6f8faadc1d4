#pragma once

#include <QVector>

class QCPCurveData;

// The lowest and highest value over any index range of a long series of curve
// points, answered from summaries of fixed-size blocks in levels of growing
// block size: a range of n points costs O(log n) steps, whatever n. The series
// only grows at its end: appending summarizes the new points and leaves the
// summaries of the earlier ones alone. NaN values take no part.
class MinMaxPyramid
{
public:
    // Indices of a lowest and a highest value of the range; -1 when the range
    // holds no number.
    struct Extremes
    {
        int lowest = -1;
        int highest = -1;
    };

    void clear();
    // Takes in points [size(), count) of data, count >= size(); the points
    // before are the ones summarized so far.
    void append(const QCPCurveData* data, int count);
    int size() const { return m_count; }

    Extremes extremes(const QCPCurveData* data, int from, int to) const;

    bool operator==(const MinMaxPyramid& other) const;

private:
    struct Entry
    {
        double low, high;
        int lowAt, highAt; // -1 when the block holds no number
        bool operator==(const Entry& other) const;
    };

    static constexpr int kBlock = 16; // points per entry of the first level
    static constexpr int kFan = 8;    // entries of a level per entry of the next

    static Entry emptyEntry();
    static void merge(Entry& into, const Entry& entry);
    static void mergePoints(Entry& into, const QCPCurveData* data, int from, int to);
    void mergeEntries(Entry& into, int level, int from, int to) const;
    void appendLevel(int level, const QCPCurveData* data);

    // Level 0 summarizes complete blocks of kBlock points, level k + 1
    // complete groups of kFan entries of level k; what is left over at the
    // end of a level is read from the level below when asked.
    QVector<QVector<Entry>> m_levels;
    int m_count = 0;
};
