#pragma once

#include "SlopedLine.h"

#include "algos/RMS.h"

#include <cmath>

namespace MeasurementMath {

inline bool isFinite(const SlopedLine& line)
{
    return std::isfinite(line.k) && std::isfinite(line.b);
}

inline SlopedLine slopedLineOf(const Algos::RMS& fit)
{
    return {fit.coefficient(1), fit.coefficient(0)};
}

// The least-squares line of the points [first, last): curve points read as
// (key, value) or plain points. Fewer than two distinct x give coefficients
// that are not numbers.
template <typename Iterator>
SlopedLine fitLine(Iterator first, Iterator last)
{
    return slopedLineOf(Algos::RMS(first, last));
}

} // namespace MeasurementMath
