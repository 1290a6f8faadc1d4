#include "RangeLineFit.h"

#include "CurveAccess.h"
#include "math/LineFit.h"

MeasurementMath::SlopedLine RangeLineFit::line(const Selection& range)
{
    const CurveSpan span = selectionSpan(range);
    const SpanFingerprint fingerprint({span});
    if (m_fittedFor == fingerprint)
        return m_line;
    m_line = MeasurementMath::fitLine(span.first, span.last);
    m_fittedFor = fingerprint;
    return m_line;
}
