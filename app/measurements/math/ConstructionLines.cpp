#include "ConstructionLines.h"

#include "LineFit.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace MeasurementMath {

namespace {

constexpr double kVerticalReach = 1000000;
constexpr double kReachPerSpan = 100;

} // namespace

SlopedLine lineThroughPoints(const QPointF& first, const QPointF& second)
{
    const std::array<QPointF, 2> points{first, second};
    return fitLine(points.cbegin(), points.cend());
}

QPointF midpoint(const QPointF& first, const QPointF& second)
{
    return QPointF((first.x() + second.x()) / 2, (first.y() + second.y()) / 2);
}

QLineF horizontalLineThrough(double y)
{
    return QLineF(0, y, 1, y);
}

QLineF verticalLineThrough(double x)
{
    return QLineF(x, 0, x, 1);
}

QLineF slopedLineBetween(const SlopedLine& line, double from, double to)
{
    return QLineF(from, line.b + line.k * from, to, line.b + line.k * to);
}

QLineF verticalLineOfCoordinates(double c0, double c1)
{
    return QLineF(c1 - kVerticalReach * c0, -kVerticalReach, c1 + kVerticalReach * c0, kVerticalReach);
}

double slopedLineReach(const QVector<double>& curveKeySpans)
{
    double widest = 0;
    for (double span : curveKeySpans) {
        if (std::isfinite(span))
            widest = std::max(widest, std::abs(span));
    }
    return std::max(kReachPerSpan * widest, 1.0);
}

} // namespace MeasurementMath
