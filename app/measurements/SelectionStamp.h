#pragma once

#include <QPointF>
#include <QVector>

class Measurement;

// What a result computed from a measurement's ranges depends on: every
// selection record and the data under it. Kinds whose fits or filters are too
// dear to repeat for a cursor that only moves the label keep the stamp of
// their last computation and compute again only when it changed.
//
// The data is told by its container, its size, the curve's data revision and
// the range's first, middle and closing points, so that data set anew,
// rescaled or rotated in place reads as changed.
class SelectionStamp
{
public:
    static SelectionStamp of(const Measurement& measurement);

    bool operator==(const SelectionStamp& other) const { return m_ranges == other.m_ranges; }
    bool operator!=(const SelectionStamp& other) const { return !(*this == other); }

private:
    struct Range
    {
        qint64 begin = 0;
        qint64 end = 0;
        const void* plottable = nullptr;
        const void* data = nullptr;
        int size = 0;
        quint64 revision = 0;
        QPointF first;
        QPointF middle;
        QPointF closing;

        bool operator==(const Range& other) const;
    };

    QVector<Range> m_ranges;
};
