#include "MeasurementIntersections.h"

#include "CirclePrimitive.h"
#include "LinePrimitive.h"
#include "Measurement.h"
#include "math/Intersections.h"

#include <optional>
#include <utility>

using namespace MeasurementMath;

namespace {

bool isNamed(const Measurement* measurement, E_MEASUREMENTS kind)
{
    return measurement && measurement->name() == measurementKind(kind)->name;
}

std::optional<Circle> circleOf(const Measurement* measurement)
{
    if (const auto* circle = dynamic_cast<const CirclePrimitive*>(measurement))
        return circle->circle();
    return std::nullopt;
}

std::optional<QVector<double>> coefficientsOf(const Measurement* measurement)
{
    const auto* line = dynamic_cast<const LinePrimitive*>(measurement);
    if (!line)
        return std::nullopt;
    QVector<double> coefficients = line->lineCoefficients();
    if (coefficients.size() < 2)
        return std::nullopt;
    return coefficients;
}

std::optional<SlopedLine> slopedLineOf(const Measurement* measurement)
{
    const std::optional<QVector<double>> c = coefficientsOf(measurement);
    if (!c)
        return std::nullopt;
    return SlopedLine{c->at(0), c->at(1)};
}

std::optional<VerticalLine> verticalLineOf(const Measurement* measurement)
{
    const std::optional<QVector<double>> c = coefficientsOf(measurement);
    if (!c)
        return std::nullopt;
    return VerticalLine{c->at(1)};
}

// The pair with the measurement of the given kind first: the first argument
// when it has that name, otherwise the second.
std::pair<const Measurement*, const Measurement*> withKindFirst(E_MEASUREMENTS kind, const Measurement* first,
                                                                const Measurement* second)
{
    if (isNamed(first, kind))
        return {first, second};
    return {second, first};
}

// The crossing of two primitives, none when either could not be read.
template <typename A, typename B>
QList<QPointF> meet(const std::optional<A>& a, const std::optional<B>& b,
                    QList<QPointF> (*intersect)(const A&, const B&))
{
    if (!a || !b)
        return {};
    return intersect(*a, *b);
}

} // namespace

QList<QPointF> intersectCircleCircle(const Measurement* first, const Measurement* second)
{
    return meet(circleOf(first), circleOf(second), intersectCircles);
}

QList<QPointF> intersectLineLine(const Measurement* first, const Measurement* second)
{
    const auto [vertical, other] = withKindFirst(VERTICAL_LINE, first, second);
    return meet(verticalLineOf(vertical), slopedLineOf(other), intersectVerticalWithSloped);
}

QList<QPointF> intersectLineCircle(const Measurement* first, const Measurement* second)
{
    const auto [circle, line] = withKindFirst(CIRCLE, first, second);
    return meet(verticalLineOf(line), circleOf(circle), intersectVerticalWithCircle);
}

QList<QPointF> intersectCircleLine(const Measurement* first, const Measurement* second)
{
    const auto [circle, line] = withKindFirst(CIRCLE, first, second);
    return meet(slopedLineOf(line), circleOf(circle), intersectSlopedWithCircle);
}

QList<QPointF> intersectPointLines(const Measurement* first, const Measurement* second)
{
    return meet(slopedLineOf(first), slopedLineOf(second), intersectSlopedLines);
}
