#pragma once

#include <QPointF>

namespace Algos {

// A counter-clockwise rotation about (cx, cy) by an angle in radians, centre
// and angle in single precision. Its sine and cosine are taken once, so that
// turning the points of a whole trace costs no trigonometry per point. An
// angle of exactly 0 returns every point unchanged.
class PointRotation
{
public:
    PointRotation(float cx, float cy, float angle);

    bool isIdentity() const { return m_identity; }

    QPointF operator()(const QPointF& point) const
    {
        if (m_identity)
            return point;
        const double dx = point.x() - m_cx;
        const double dy = point.y() - m_cy;
        return QPointF(m_cx + dx * m_cos - dy * m_sin, m_cy + dx * m_sin + dy * m_cos);
    }

private:
    double m_cx;
    double m_cy;
    double m_sin = 0;
    double m_cos = 1;
    bool m_identity;
};

} // namespace Algos
