#include "EqualScaleFit.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMargin = 0.05;

QPair<double, double> centredOn(double centre, double halfSpan)
{
    return {centre - halfSpan, centre + halfSpan};
}

} // namespace

void EqualScaleFit::include(double key, double value)
{
    if (std::isnan(key) || std::isnan(value))
        return;
    if (m_empty) {
        m_keyMin = m_keyMax = key;
        m_valueMin = m_valueMax = value;
        m_empty = false;
        return;
    }
    m_keyMin = std::min(m_keyMin, key);
    m_keyMax = std::max(m_keyMax, key);
    m_valueMin = std::min(m_valueMin, value);
    m_valueMax = std::max(m_valueMax, value);
}

double EqualScaleFit::halfSpan() const
{
    const double keySpan = (m_keyMax - m_keyMin) * (1 + 2 * kMargin);
    const double valueSpan = (m_valueMax - m_valueMin) * (1 + 2 * kMargin);
    return std::max(keySpan, valueSpan) / 2;
}

QPair<double, double> EqualScaleFit::keyRange() const
{
    return centredOn((m_keyMin + m_keyMax) / 2, halfSpan());
}

QPair<double, double> EqualScaleFit::valueRange() const
{
    return centredOn((m_valueMin + m_valueMax) / 2, halfSpan());
}
