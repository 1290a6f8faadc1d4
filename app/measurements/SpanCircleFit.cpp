#include "SpanCircleFit.h"

#include "CircleFit.h"
#include "math/GivenRadiusSearch.h"

#include <cmath>

using namespace MeasurementMath;

namespace {

bool isFinite(const Circle& circle)
{
    return std::isfinite(circle.centre.x()) && std::isfinite(circle.centre.y()) && std::isfinite(circle.radius);
}

} // namespace

std::optional<Circle> fitCircleToSpans(const QVector<CurveSpan>& spans)
{
    QVector<QCPCurveDataContainer::const_iterator> firsts;
    QVector<QCPCurveDataContainer::const_iterator> lasts;
    for (const CurveSpan& span : spans) {
        firsts.append(span.first);
        lasts.append(span.last);
    }
    Circle circle;
    Algos::fitCircles(firsts, lasts, circle.centre, circle.radius);
    if (!isFinite(circle))
        return std::nullopt;
    return circle;
}

std::optional<Circle> fitCircleToSpan(const CurveSpan& span)
{
    return fitCircleToSpans({span});
}

std::optional<Circle> fitGivenRadiusToSpan(const CurveSpan& span, double radius)
{
    const std::optional<Circle> start = fitCircleToSpan(span);
    if (!start)
        return std::nullopt;
    const Circle circle{givenRadiusCentre(spanPoints(span), start->centre, radius), radius};
    if (!isFinite(circle))
        return std::nullopt;
    return circle;
}
