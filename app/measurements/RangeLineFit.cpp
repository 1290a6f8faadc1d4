#include "RangeLineFit.h"

#include "CurveAccess.h"
#include "math/LineFit.h"

namespace {

qint64 pointCountOf(const Selection& range)
{
    const QCPPlottableInterface1D* data = range.plottable ? range.plottable->interface1D() : nullptr;
    return data ? data->dataCount() : 0;
}

} // namespace

MeasurementMath::SlopedLine RangeLineFit::line(const Selection& range)
{
    const qint64 pointCount = pointCountOf(range);
    if (isFittedFor(range, pointCount))
        return m_line;
    const CurveSpan span = selectionSpan(range);
    m_line = MeasurementMath::fitLine(span.first, span.last);
    m_range = range;
    m_pointCount = pointCount;
    m_fitted = true;
    return m_line;
}

bool RangeLineFit::isFittedFor(const Selection& range, qint64 pointCount) const
{
    return m_fitted && m_range.plottable == range.plottable && m_range.begin == range.begin
           && m_range.end == range.end && m_pointCount == pointCount;
}
