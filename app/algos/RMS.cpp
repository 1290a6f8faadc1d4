#include "RMS.h"

#include <algorithm>
#include <limits>

namespace Algos {

RMS::RMS(const QVector<double>& coefficients)
    : CoeffFitter(coefficients)
{
}

RMS::RMS(const QVector<double>& x, const QVector<double>& y)
{
    Sums sums;
    const int count = std::min(x.size(), y.size());
    for (int i = 0; i < count; ++i)
        sums.add(x[i], y[i]);
    setLine(sums);
}

double RMS::evaluate(double x) const
{
    if (m_coefficients.size() < 2)
        return std::numeric_limits<double>::quiet_NaN();
    return m_coefficients[0] + m_coefficients[1] * x;
}

void RMS::setLine(const Sums& sums)
{
    // Rounding would turn a vertical stretch into a huge finite slope.
    if (!(sums.minX < sums.maxX)) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        m_coefficients = {nan, nan};
        return;
    }
    const double slope = (sums.xy * sums.n - sums.x * sums.y) / (sums.xx * sums.n - sums.x * sums.x);
    const double intercept = (sums.y - sums.x * slope) / sums.n;
    m_coefficients = {intercept, slope};
}

} // namespace Algos
