#include "IntersectionPairing.h"

#include "measurements/MeasurementIntersections.h"
#include "measurements/MeasurementKind.h"

namespace {

struct PairRule
{
    E_MEASUREMENTS first;
    E_MEASUREMENTS second;
    IntersectionRoutine routine;
};

const PairRule kRules[] = {
    {CIRCLE, CIRCLE, intersectCircleCircle},
    {CIRCLE, HORIZONTAL_LINE, intersectCircleLine},
    {CIRCLE, TWO_POINT_LINE, intersectCircleLine},
    {CIRCLE, THREAD_MEAN_DIAMETER, intersectCircleLine},
    {CIRCLE, VERTICAL_LINE, intersectLineCircle},
    {VERTICAL_LINE, HORIZONTAL_LINE, intersectLineLine},
    {VERTICAL_LINE, TWO_POINT_LINE, intersectLineLine},
    {VERTICAL_LINE, THREAD_MEAN_DIAMETER, intersectLineLine},
    {HORIZONTAL_LINE, TWO_POINT_LINE, intersectPointLines},
    {TWO_POINT_LINE, TWO_POINT_LINE, intersectPointLines},
    {THREAD_MEAN_DIAMETER, TWO_POINT_LINE, intersectPointLines},
    {THREAD_MEAN_DIAMETER, HORIZONTAL_LINE, intersectPointLines},
};

bool named(const QString& name, E_MEASUREMENTS kind)
{
    return name == measurementKind(kind)->name;
}

} // namespace

IntersectionRoutine intersectionRoutine(const QString& firstName, const QString& secondName)
{
    for (const PairRule& rule : kRules) {
        if ((named(firstName, rule.first) && named(secondName, rule.second))
            || (named(firstName, rule.second) && named(secondName, rule.first)))
            return rule.routine;
    }
    return nullptr;
}
