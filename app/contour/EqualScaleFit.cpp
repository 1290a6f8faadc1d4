#include "EqualScaleFit.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMargin = 0.05;

double margined(double min, double max)
{
    return (max - min) * (1 + 2 * kMargin);
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

EqualScaleFit::Ranges EqualScaleFit::ranges(double width, double height) const
{
    const double span = std::max(margined(m_keyMin, m_keyMax), margined(m_valueMin, m_valueMax));
    const double perPixel = span / std::min(width, height);
    const double keyHalf = perPixel * width / 2;
    const double valueHalf = perPixel * height / 2;
    const double keyCentre = (m_keyMin + m_keyMax) / 2;
    const double valueCentre = (m_valueMin + m_valueMax) / 2;
    return {keyCentre - keyHalf, keyCentre + keyHalf, valueCentre - valueHalf, valueCentre + valueHalf};
}
