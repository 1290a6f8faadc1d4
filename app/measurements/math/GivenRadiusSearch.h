#pragma once

#include <QPointF>
#include <QVector>

// The centre of a circle of given radius laid onto selected points: a
// pattern search for the centre with the least sum of absolute radial
// deviations, then a vertical search that pushes the circle until it just
// clears the points from the centre's side. Both searches halve their step
// from a tenth of the radius down to 1e-5 of it, and a search whose start
// centre or radius is not finite, or whose radius is negative, stays where it
// started. A radius of 0 takes no step.
namespace MeasurementMath {

// A bound on the moves of each search: moving on ties can alternate between
// two centres of equal sums.
constexpr int kMaxCentreMoves = 10000;

// Sum over the points of |radius - distance to the centre|.
double absoluteDeviationSum(const QVector<QPointF>& points, QPointF centre, double radius);

// Whether every point lies strictly farther than the radius from the centre;
// true without points.
bool allPointsOutside(const QVector<QPointF>& points, QPointF centre, double radius);

// Pattern search from centre: trials at x + step, x - step, y + step, y - step
// in this order; the least of the four trial sums and the current sum wins, a
// trial tying with the current sum is taken (the first tied trial in that
// order), and the step halves when the current sum alone is least.
QPointF fitCentre(const QVector<QPointF>& points, QPointF centre, double radius);

// Moves the centre along y, towards the side where more points lie, until
// the circle touches the points with all of them just outside. With as many
// points above the centre as at or below it the centre stays.
QPointF touchCentre(const QVector<QPointF>& points, QPointF centre, double radius);

// fitCentre, then touchCentre.
QPointF givenRadiusCentre(const QVector<QPointF>& points, QPointF start, double radius);

} // namespace MeasurementMath
