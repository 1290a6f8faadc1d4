#pragma once

#include "Selection.h"
#include "SpanFingerprint.h"
#include "math/SlopedLine.h"

#include <optional>

// The least-squares line of a picked data range, fitted again only when the
// range's points may have changed (SpanFingerprint: another range, data set
// anew, rescaled, recalibrated or levelled): a cursor that only moves a label
// costs no fit. A range of fewer than two distinct keys gives a line whose
// coefficients are not numbers.
class RangeLineFit
{
public:
    MeasurementMath::SlopedLine line(const Selection& range);

    // The next line() fits again.
    void clear() { m_fittedFor.reset(); }

private:
    std::optional<SpanFingerprint> m_fittedFor;
    MeasurementMath::SlopedLine m_line;
};
