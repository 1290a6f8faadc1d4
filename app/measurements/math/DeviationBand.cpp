#include "DeviationBand.h"

#include "SinglePrecision.h"

#include <cmath>

namespace MeasurementMath {

DeviationBand deviationBand(const BandFrame& frame, double mouseY)
{
    DeviationBand band;
    band.first = toSinglePrecision(frame.first);
    band.last = toSinglePrecision(frame.last);
    band.lowest = frame.lowest;
    const double baseline = mouseY > frame.lowest ? 2 * frame.lowest - mouseY : mouseY;
    band.baseline = toSinglePrecision(baseline);
    return band;
}

bool isFlatRange(double minimum, double maximum)
{
    const double range = maximum - minimum;
    if (!std::isfinite(range) || range <= 0)
        return true;
    return range < 1e-12 * std::max(std::abs(minimum), std::abs(maximum));
}

double BandScale::toBand(double deviation) const
{
    if (isFlat())
        return baseline + height / 2;
    return (deviation - minimum) / (maximum - minimum) * height + baseline;
}

BandScale bandScale(const QVector<double>& deviations, const DeviationBand& band)
{
    const auto [smallest, largest] = std::minmax_element(deviations.begin(), deviations.end());
    return {*smallest, *largest, band.baseline, band.height()};
}

QVector<double> scaleIntoBand(const QVector<double>& deviations, const BandScale& scale)
{
    QVector<double> scaled(deviations.size());
    if (scale.isFlat()) {
        scaled.fill(scale.toBand(scale.minimum));
        return scaled;
    }
    const double range = scale.maximum - scale.minimum;
    std::transform(deviations.begin(), deviations.end(), scaled.begin(),
                   [&scale, range](double d) { return (d - scale.minimum) / range * scale.height + scale.baseline; });
    return scaled;
}

} // namespace MeasurementMath
