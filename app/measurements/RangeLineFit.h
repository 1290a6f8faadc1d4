#pragma once

#include "Selection.h"
#include "math/SlopedLine.h"

// The least-squares line of a picked data range, fitted again only when the
// range or its curve's point count changed: a cursor that only moves a label
// costs no fit. A range of fewer than two distinct keys gives a line whose
// coefficients are not numbers.
class RangeLineFit
{
public:
    MeasurementMath::SlopedLine line(const Selection& range);

    // The next line() fits again, for data that may have changed in place.
    void clear() { m_fitted = false; }

private:
    bool isFittedFor(const Selection& range, qint64 pointCount) const;

    bool m_fitted = false;
    Selection m_range;
    qint64 m_pointCount = 0;
    MeasurementMath::SlopedLine m_line;
};
