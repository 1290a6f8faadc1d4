#pragma once

#include <QPointF>
#include <QVector>

#include <cmath>

// count points of the circle of radius r about centre, at angles evenly
// spaced from fromDegrees to toDegrees, each moved radially by
// noise * sin(7.3 i): a deterministic noise that spreads the radii by about
// twice noise.
inline QVector<QPointF> arcPoints(QPointF centre, double radius, double fromDegrees, double toDegrees, int count,
                                  double noise = 0)
{
    const double degree = 3.14159265358979323846 / 180;
    QVector<QPointF> points;
    for (int i = 0; i < count; ++i) {
        const double angle = (fromDegrees + (toDegrees - fromDegrees) * i / (count - 1)) * degree;
        const double rho = radius + noise * std::sin(7.3 * i);
        points.append(centre + QPointF(rho * std::cos(angle), rho * std::sin(angle)));
    }
    return points;
}
