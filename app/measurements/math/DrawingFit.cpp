#include "DrawingFit.h"

#include "DrawingGeometry.h"
#include "Geometry.h"

#include <cmath>

namespace MeasurementMath {

namespace {

// Every search stops here at the latest, whatever the errors do.
constexpr int kMaxSearchSteps = 10000;
constexpr double kNoErrorYet = 1e308;
// The shift searches halve their step down to this share of the step they
// start from (a micrometre from a millimetre), so that they stop at the same
// length in every display unit.
constexpr double kFinestShiftOfStep = 0.001;

} // namespace

DrawingFit::DrawingFit(const DrawingIndex& drawing, const QVector<QPointF>& trace, QPointF centre)
    : m_drawing(drawing)
    , m_trace(trace)
    , m_centre(centre)
{
}

double DrawingFit::error(const DrawingPlacement& placement) const
{
    const QPointF shift = placement.shift;
    if (placement.degrees == 0)
        return summedDistance(m_trace, m_drawing, [shift](QPointF p) { return p - shift; });
    const double a = placement.degrees * Algos::kRadiansPerDegree;
    const double cosA = std::cos(a);
    const double sinA = std::sin(a);
    const QPointF centre = m_centre;
    return summedDistance(m_trace, m_drawing,
                          [shift, centre, cosA, sinA](QPointF p) { return turnedPoint(p - shift, centre, cosA, -sinA); });
}

template <typename Moved>
double DrawingFit::stepSearch(double bestError, double step, double smallest, bool inclusive, Moved moved)
{
    for (int i = 0; i < kMaxSearchSteps && (inclusive ? step >= smallest : step > smallest); ++i) {
        const DrawingPlacement forward = moved(m_placement, step);
        const DrawingPlacement backward = moved(m_placement, -step);
        const double g = error(forward);
        const double h = error(backward);
        if (bestError > g && g < h) {
            m_placement = forward;
            bestError = g;
        } else if (g > h && bestError > h) {
            m_placement = backward;
            bestError = h;
        } else {
            step *= 0.5;
        }
    }
    return bestError;
}

// On equal errors the drawing stays turned by 180 degrees.
double DrawingFit::searchRotation()
{
    const auto turned = [](DrawingPlacement p, double degrees) {
        p.degrees += degrees;
        return p;
    };
    double bestError = kNoErrorYet;
    double bestTurn = 0;
    for (const double turn : {180.0, 0.0}) {
        const double e = error(turned(m_placement, turn));
        if (bestError > e) {
            bestTurn = turn;
            bestError = e;
        }
    }
    m_placement = turned(m_placement, bestTurn);
    return stepSearch(bestError, 90, 0.001, true, turned);
}

double DrawingFit::searchVerticalShift(double bestError, double step)
{
    return stepSearch(bestError, step, step * kFinestShiftOfStep, false, [](DrawingPlacement p, double dy) {
        p.shift.ry() += dy;
        return p;
    });
}

double DrawingFit::searchHorizontalShift(double bestError, double step)
{
    return stepSearch(bestError, step, step * kFinestShiftOfStep, false, [](DrawingPlacement p, double dx) {
        p.shift.rx() += dx;
        return p;
    });
}

} // namespace MeasurementMath
