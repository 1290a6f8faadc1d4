#include "CoeffFitter.h"

#include <limits>

namespace Algos {

CoeffFitter::CoeffFitter(const QVector<double>& coefficients)
    : m_coefficients(coefficients)
{
}

double CoeffFitter::coefficient(int i) const
{
    return i >= 0 && i < m_coefficients.size() ? m_coefficients[i] : std::numeric_limits<double>::quiet_NaN();
}

void CoeffFitter::setCoefficient(int i, double value)
{
    if (i >= 0 && i < m_coefficients.size())
        m_coefficients[i] = value;
}

} // namespace Algos
