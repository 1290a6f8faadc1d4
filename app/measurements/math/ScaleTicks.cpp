#include "ScaleTicks.h"

#include "DeviationBand.h"

#include <cmath>

namespace MeasurementMath {

namespace {

double roundStep(double range)
{
    double step = std::pow(10.0, std::floor(std::log10(range)));
    if (range / step <= 2)
        step *= 0.2;
    else if (range / step <= 5)
        step *= 0.5;
    return step;
}

} // namespace

ScaleTicks scaleTicks(double minimum, double maximum)
{
    ScaleTicks ticks;
    if (isFlatRange(minimum, maximum)) {
        if (std::isfinite(minimum))
            ticks.values.append(minimum);
        return ticks;
    }
    ticks.step = roundStep(maximum - minimum);
    const double first = std::ceil(minimum / ticks.step) * ticks.step;
    const double last = std::floor(maximum / ticks.step) * ticks.step;
    // Round-off must not drop the last multiple of the step.
    const double end = last + ticks.step * 1e-9;
    for (int i = 0; i < kMaxScaleTicks; ++i) {
        const double value = first + i * ticks.step;
        if (value > end)
            break;
        ticks.values.append(value);
    }
    return ticks;
}

QString tickText(double value)
{
    return QString::number(std::abs(value) < 1e-10 ? 0.0 : value, 'g', 6);
}

} // namespace MeasurementMath
