#include "PointRotation.h"

#include <cmath>

namespace Algos {

PointRotation::PointRotation(float cx, float cy, float angle)
    : m_cx(cx)
    , m_cy(cy)
    , m_identity(angle == 0.0f)
{
    if (!m_identity) {
        m_sin = std::sin(double(angle));
        m_cos = std::cos(double(angle));
    }
}

} // namespace Algos
