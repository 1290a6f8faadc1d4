#include "DeviationCurve.h"

namespace MeasurementMath {

double deviationSpread(const QVector<double>& deviations)
{
    if (deviations.isEmpty())
        return 0;
    const auto [smallest, largest] = std::minmax_element(deviations.begin(), deviations.end());
    return *largest - *smallest;
}

} // namespace MeasurementMath
