#pragma once

#include <QPointF>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <limits>

// Least-squares fits written out plainly in the tests, independent of the
// program's numerics, to check what a measurement fitted to the points it was
// given.
namespace reference {

struct Line
{
    double k = 0;
    double b = 0;
    double at(double x) const { return k * x + b; }
};

struct Circle
{
    QPointF centre;
    double radius = 0;
};

inline QPointF meanOf(const QVector<QPointF>& points)
{
    QPointF sum;
    for (const QPointF& p : points)
        sum += p;
    return sum / points.size();
}

// y = k x + b minimising the squared vertical distances.
inline Line lineFit(const QVector<QPointF>& points)
{
    const QPointF m = meanOf(points);
    double sxy = 0;
    double sxx = 0;
    for (const QPointF& p : points) {
        sxy += (p.x() - m.x()) * (p.y() - m.y());
        sxx += (p.x() - m.x()) * (p.x() - m.x());
    }
    const double k = sxy / sxx;
    return {k, m.y() - k * m.x()};
}

// The algebraic (Kåsa) circle: x² + y² + D x + E y + F = 0 in least squares,
// about the points' mean. A start for circleFit(): with a scatter that follows
// the points' order it can be off by a good part of the scatter.
inline Circle kasaFit(const QVector<QPointF>& points)
{
    const QPointF m = meanOf(points);
    double suu = 0, suv = 0, svv = 0, suz = 0, svz = 0, sz = 0;
    for (const QPointF& p : points) {
        const double u = p.x() - m.x();
        const double v = p.y() - m.y();
        const double z = u * u + v * v;
        suu += u * u;
        suv += u * v;
        svv += v * v;
        suz += u * z;
        svz += v * z;
        sz += z;
    }
    const double det = suu * svv - suv * suv;
    const double d = (-suz * svv + svz * suv) / det;
    const double e = (-svz * suu + suz * suv) / det;
    const double f = -sz / points.size();
    return {m + QPointF(-d / 2, -e / 2), std::sqrt(d * d / 4 + e * e / 4 - f)};
}

// The circle minimising the squared distances of the points from it
// (Gauss-Newton from the algebraic circle).
inline Circle circleFit(const QVector<QPointF>& points)
{
    Circle c = kasaFit(points);
    for (int iteration = 0; iteration < 50; ++iteration) {
        // Normal equations of the residuals |p - centre| - radius in the
        // centre's coordinates and the radius.
        double n[3][4] = {};
        for (const QPointF& p : points) {
            const double dx = p.x() - c.centre.x();
            const double dy = p.y() - c.centre.y();
            const double d = std::hypot(dx, dy);
            const double j[3] = {-dx / d, -dy / d, -1};
            for (int r = 0; r < 3; ++r) {
                for (int k = 0; k < 3; ++k)
                    n[r][k] += j[r] * j[k];
                n[r][3] -= j[r] * (d - c.radius);
            }
        }
        for (int r = 0; r < 3; ++r) {
            for (int below = r + 1; below < 3; ++below) {
                const double factor = n[below][r] / n[r][r];
                for (int k = r; k < 4; ++k)
                    n[below][k] -= factor * n[r][k];
            }
        }
        double step[3];
        for (int r = 2; r >= 0; --r) {
            double v = n[r][3];
            for (int k = r + 1; k < 3; ++k)
                v -= n[r][k] * step[k];
            step[r] = v / n[r][r];
        }
        c = {c.centre + QPointF(step[0], step[1]), c.radius + step[2]};
        if (std::abs(step[0]) + std::abs(step[1]) + std::abs(step[2]) < 1e-14 * c.radius)
            break;
    }
    return c;
}

// Largest minus smallest of the values.
inline double spread(const QVector<double>& values)
{
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return *high - *low;
}

// The points' heights above the line.
inline QVector<double> residuals(const QVector<QPointF>& points, const Line& line)
{
    QVector<double> result;
    for (const QPointF& p : points)
        result.append(p.y() - line.at(p.x()));
    return result;
}

// The radius minus each point's distance from the centre.
inline QVector<double> radialDeviations(const QVector<QPointF>& points, const Circle& circle)
{
    QVector<double> result;
    for (const QPointF& p : points)
        result.append(circle.radius - std::hypot(p.x() - circle.centre.x(), p.y() - circle.centre.y()));
    return result;
}

} // namespace reference
