#include "Intersections.h"

#include "Geometry.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace MeasurementMath {

namespace {

constexpr double kRoundOff = 1e-12;

bool isUsable(const Circle& circle)
{
    return Algos::isFinite(circle.centre) && std::isfinite(circle.radius) && circle.radius > 0;
}

// The square root of a difference whose terms have the given magnitude; a
// negative difference within round-off of that magnitude counts as 0.
std::optional<double> rootOfDifference(double difference, double magnitude)
{
    if (difference >= 0)
        return std::sqrt(difference);
    if (difference >= -kRoundOff * magnitude)
        return 0.0;
    return std::nullopt;
}

QList<QPointF> finitePoints(const QList<QPointF>& points)
{
    QList<QPointF> result;
    for (const QPointF& point : points) {
        if (Algos::isFinite(point))
            result.append(point);
    }
    return result;
}

} // namespace

QList<QPointF> intersectCircles(const Circle& first, const Circle& second)
{
    if (!isUsable(first) || !isUsable(second))
        return {};
    const double r1 = first.radius;
    const double r2 = second.radius;
    const double dx = second.centre.x() - first.centre.x();
    const double dy = second.centre.y() - first.centre.y();
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d > r1 + r2 || d < std::abs(r2 - r1) || (d == 0 && r1 == r2))
        return {};

    const double a = (r1 * r1 - r2 * r2 + d * d) / (2 * d);
    const std::optional<double> h = rootOfDifference(r1 * r1 - a * a, std::max(r1 * r1, a * a));
    if (!h)
        return {};
    const QPointF base(first.centre.x() + a * dx / d, first.centre.y() + a * dy / d);
    QList<QPointF> points;
    if (d != r1 + r2)
        points.append(QPointF(base.x() + *h * dy / d, base.y() - *h * dx / d));
    points.append(QPointF(base.x() - *h * dy / d, base.y() + *h * dx / d));
    return finitePoints(points);
}

QList<QPointF> intersectVerticalWithSloped(const VerticalLine& vertical, const SlopedLine& sloped)
{
    return finitePoints({QPointF(vertical.x, sloped.k * vertical.x + sloped.b)});
}

QList<QPointF> intersectVerticalWithCircle(const VerticalLine& vertical, const Circle& circle)
{
    if (!isUsable(circle) || !std::isfinite(vertical.x))
        return {};
    const double cx = circle.centre.x();
    const double r = circle.radius;
    if (!(cx - r < vertical.x && vertical.x < cx + r))
        return {};
    const double u = vertical.x - cx;
    const std::optional<double> h = rootOfDifference(r * r - u * u, r * r);
    if (!h)
        return {};
    return finitePoints({QPointF(vertical.x, circle.centre.y() + *h), QPointF(vertical.x, circle.centre.y() - *h)});
}

QList<QPointF> intersectSlopedWithCircle(const SlopedLine& sloped, const Circle& circle)
{
    if (!isUsable(circle) || !std::isfinite(sloped.k) || !std::isfinite(sloped.b))
        return {};
    const double k = sloped.k;
    const double b = sloped.b;
    const double cx = circle.centre.x();
    const double cy = circle.centre.y();
    const double r = circle.radius;
    const double qa = 1 + k * k;
    const double qb = 2 * (k * (b - cy) - cx);
    const double qc = cx * cx + (b - cy) * (b - cy) - r * r;
    const std::optional<double> root = rootOfDifference(qb * qb - 4 * qa * qc, qb * qb + std::abs(4 * qa * qc));
    if (!root)
        return {};
    const double x1 = (-qb - *root) / (2 * qa);
    const double x2 = (-qb + *root) / (2 * qa);
    if (x1 == x2)
        return finitePoints({QPointF(x1, k * x1 + b)});
    return finitePoints({QPointF(x1, k * x1 + b), QPointF(x2, k * x2 + b)});
}

QList<QPointF> intersectSlopedLines(const SlopedLine& first, const SlopedLine& second)
{
    if (first.k == second.k)
        return {};
    const double x = (second.b - first.b) / (first.k - second.k);
    return finitePoints({QPointF(x, first.k * x + first.b)});
}

} // namespace MeasurementMath
