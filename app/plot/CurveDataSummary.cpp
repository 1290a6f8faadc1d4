#include "CurveDataSummary.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace {

using Span = CurveDataSummary::Span;

// Adds the points [from, to). A span that continues the points of the last one
// is merged into it.
void addSpan(QVector<Span>& spans, int from, int to)
{
    if (from >= to)
        return;
    if (!spans.isEmpty() && spans.last().to == from) {
        spans.last().to = to;
        return;
    }
    spans.append(Span{from, to});
}

bool keyBelow(const QCPCurveData& point, double key)
{
    return point.key < key;
}

bool keyAbove(double key, const QCPCurveData& point)
{
    return key < point.key;
}

// The first index in [from, to) whose key is not below key.
int firstAtOrAbove(const QCPCurveData* data, int from, int to, double key)
{
    return int(std::lower_bound(data + from, data + to, key, keyBelow) - data);
}

// The same, searched in growing steps from `from` on: cheap when the index
// lies near `from`, as the end of a pixel column does.
int nearFirstAtOrAbove(const QCPCurveData* data, int from, int to, double key)
{
    if (from >= to || !(data[from].key < key))
        return from;
    int below = from;
    int step = 1;
    while (below + step < to && data[below + step].key < key) {
        below += step;
        step *= 2;
    }
    return firstAtOrAbove(data, below + 1, qMin(below + step, to), key);
}

} // namespace

bool CurveDataSummary::Span::operator==(const Span& other) const
{
    return from == other.from && to == other.to;
}

void CurveDataSummary::build(const QCPCurveData* data, int count)
{
    m_runs.clear();
    m_stretchStart = 0;
    m_gaps.clear();
    m_values.clear();
    append(data, count);
}

void CurveDataSummary::append(const QCPCurveData* data, int count)
{
    for (int i = size(); i < count; ++i) {
        if (std::isnan(data[i].value))
            m_gaps.append(i);
        // A NaN key fails the comparison on both sides and stands alone.
        if (i > 0 && !(data[i - 1].key <= data[i].key)) {
            closeStretch(i);
            m_stretchStart = i;
        }
    }
    closeStretch(count);
    m_values.append(data, count);
}

// Records the stretch of rising keys [m_stretchStart, end) as a run when it is
// long enough; a run recorded before from the same start grows to end.
void CurveDataSummary::closeStretch(int end)
{
    if (end - m_stretchStart < kMinRun)
        return;
    if (!m_runs.isEmpty() && m_runs.last().from == m_stretchStart)
        m_runs.last().to = end;
    else
        m_runs.append(Run{m_stretchStart, end});
}

QVector<Span> CurveDataSummary::visibleSpans(const QCPCurveData* data, int from, int to,
                                              const QVector<double>& edges) const
{
    QVector<Span> spans;
    spans.reserve(4 * edges.size() + 8);
    if (edges.size() < 2) {
        addSpan(spans, from, to);
        return spans;
    }
    int next = from;
    auto run = std::upper_bound(m_runs.begin(), m_runs.end(), from,
                                [](int index, const Run& r) { return index < r.to; });
    for (; run != m_runs.end() && run->from < to; ++run) {
        const int runFrom = qMax(run->from, from);
        const int runTo = qMin(run->to, to);
        addSpan(spans, next, runFrom);
        addRun(data, runFrom, runTo, edges, spans);
        next = runTo;
    }
    addSpan(spans, next, to);
    return spans;
}

// Points left and right of the window are skipped, but for the one next to it
// on either side, whose segment enters the window, and for the run's own first
// and last point, whose segments join the points before and after the run.
void CurveDataSummary::addRun(const QCPCurveData* data, int from, int to, const QVector<double>& edges,
                              QVector<Span>& spans) const
{
    const int inFrom = firstAtOrAbove(data, from, to, edges.first());
    const int inTo = int(std::upper_bound(data + inFrom, data + to, edges.last(), keyAbove) - data);
    const int first = qMax(from, inFrom - 1);
    const int last = qMin(to, inTo + 1);
    if (first > from)
        addSpan(spans, from, from + 1);
    const int columns = edges.size() - 1;
    if (inTo - inFrom <= 2 * columns) {
        addSpan(spans, first, last);
    } else {
        addSpan(spans, first, inFrom);
        int columnFrom = inFrom;
        for (int edge = 1; edge < columns; ++edge) {
            const int columnTo = nearFirstAtOrAbove(data, columnFrom, inTo, edges.at(edge));
            addColumn(data, columnFrom, columnTo, spans);
            columnFrom = columnTo;
        }
        addColumn(data, columnFrom, inTo, spans);
        addSpan(spans, inTo, last);
    }
    if (last < to)
        addSpan(spans, to - 1, to);
}

void CurveDataSummary::addColumn(const QCPCurveData* data, int from, int to, QVector<Span>& spans) const
{
    auto gap = std::lower_bound(m_gaps.begin(), m_gaps.end(), from);
    for (; gap != m_gaps.end() && *gap < to; ++gap) {
        addExtremes(data, from, *gap, spans);
        addSpan(spans, *gap, *gap + 1);
        from = *gap + 1;
    }
    addExtremes(data, from, to, spans);
}

// A stretch without gaps inside one column: a polyline from its first point
// through its lowest and highest point to its last point covers the same
// pixels as all its points do.
void CurveDataSummary::addExtremes(const QCPCurveData* data, int from, int to, QVector<Span>& spans) const
{
    if (to - from <= 4) {
        addSpan(spans, from, to);
        return;
    }
    const MinMaxPyramid::Extremes extremes = m_values.extremes(data, from, to);
    int picks[] = {from, extremes.lowest, extremes.highest, to - 1};
    std::sort(std::begin(picks), std::end(picks));
    for (int i = 0; i < 4; ++i) {
        if (i == 0 || picks[i] != picks[i - 1])
            addSpan(spans, picks[i], picks[i] + 1);
    }
}

bool CurveDataSummary::operator==(const CurveDataSummary& other) const
{
    return m_runs == other.m_runs && m_stretchStart == other.m_stretchStart && m_gaps == other.m_gaps
        && m_values == other.m_values;
}
