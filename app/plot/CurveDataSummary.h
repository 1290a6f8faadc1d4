#pragma once

#include "MinMaxPyramid.h"

#include <QVector>

// A summary of a curve's points, in their order, for drawing a long curve
// without visiting every point: the stretches whose keys rise (sorted runs),
// the points without a value (gaps) and the lowest and highest value over any
// index range. Built once per data change; points appended at the end are
// summarized on their own, the summary of the earlier ones stays.
class CurveDataSummary
{
public:
    // Consecutive points [from, to). The spans' points in order make one
    // polyline; the points a span skips lie all on one side of the key
    // window, and so does the segment that joins across them.
    struct Span
    {
        int from = 0;
        int to = 0;
        bool operator==(const Span& other) const;
    };

    void build(const QCPCurveData* data, int count);
    // Takes in points [size(), count) of data, count >= size(); the points
    // before are the ones summarized so far and must be unchanged.
    void append(const QCPCurveData* data, int count);
    int size() const { return m_values.size(); }

    // The spans of points [from, to) whose polylines cover, within a pixel
    // column, what the polyline of all these points covers in the key window
    // [edges.first(), edges.last()]. The edges, in rising order, divide the
    // window into columns of at most one pixel. Of a sorted run only the part
    // in the window and one point on either side of it are visited, and a
    // column with many points keeps its first, lowest, highest and last point
    // (split at gaps). Other points are all kept, as are all points when there
    // are fewer than two edges.
    QVector<Span> visibleSpans(const QCPCurveData* data, int from, int to, const QVector<double>& edges) const;

    bool operator==(const CurveDataSummary& other) const;

private:
    struct Run
    {
        int from, to;
        bool operator==(const Run& other) const { return from == other.from && to == other.to; }
    };

    // Shorter stretches of rising keys are drawn point by point.
    static constexpr int kMinRun = 32;

    void closeStretch(int end);
    void addRun(const QCPCurveData* data, int from, int to, const QVector<double>& edges,
                QVector<Span>& spans) const;
    void addColumn(const QCPCurveData* data, int from, int to, QVector<Span>& spans) const;
    void addExtremes(const QCPCurveData* data, int from, int to, QVector<Span>& spans) const;

    QVector<Run> m_runs;    // in order, each at least kMinRun points long
    int m_stretchStart = 0; // where the stretch of rising keys at the end began
    QVector<int> m_gaps;    // indices of points whose value is NaN, in order
    MinMaxPyramid m_values;
};
