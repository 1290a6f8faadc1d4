#include "SelectionStamp.h"

#include "CurveAccess.h"
#include "Measurement.h"

#include <algorithm>
#include <cstring>

namespace {

// Bitwise, so that not-a-number coordinates compare equal to themselves.
bool samePoint(const QPointF& a, const QPointF& b)
{
    return std::memcmp(&a, &b, sizeof(QPointF)) == 0;
}

QPointF pointOf(const QCPCurve* curve, qint64 index)
{
    return QPointF(curvePointKey(curve, index), curvePointValue(curve, index));
}

} // namespace

bool SelectionStamp::Range::operator==(const Range& other) const
{
    return begin == other.begin && end == other.end && plottable == other.plottable && data == other.data
        && size == other.size && revision == other.revision && samePoint(first, other.first)
        && samePoint(middle, other.middle) && samePoint(closing, other.closing);
}

SelectionStamp SelectionStamp::of(const Measurement& measurement)
{
    SelectionStamp stamp;
    for (int i = 0; i < measurement.selectionCount(); ++i) {
        const Selection& selection = *measurement.selection(i);
        Range range;
        range.begin = selection.begin;
        range.end = selection.end;
        range.plottable = selection.plottable.data();
        if (const auto* curve = qobject_cast<const QCPCurve*>(selection.plottable.data())) {
            range.data = curve->data().data();
            range.size = curve->dataCount();
            range.revision = PlotCurve::dataRevisionOf(curve);
            const qint64 last = std::max<qint64>(range.size - 1, 0);
            const qint64 first = std::clamp<qint64>(selection.begin, 0, last);
            const qint64 closing = std::clamp<qint64>(selection.end, first, last);
            range.first = pointOf(curve, first);
            range.middle = pointOf(curve, first + (closing - first) / 2);
            range.closing = pointOf(curve, closing);
        }
        stamp.m_ranges.append(range);
    }
    return stamp;
}
