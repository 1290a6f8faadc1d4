#include "StretchLevel.h"

#include "SinglePrecision.h"

#include <cmath>

namespace MeasurementMath {

double meanHeight(const StretchLevel& first, const StretchLevel& second)
{
    return toSinglePrecision(std::abs(second.height - first.height));
}

} // namespace MeasurementMath
