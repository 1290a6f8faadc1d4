#include "GivenRadiusSearch.h"

#include "DeviationCurve.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace MeasurementMath {

namespace {

bool canSearch(QPointF centre, double radius)
{
    return std::isfinite(centre.x()) && std::isfinite(centre.y()) && std::isfinite(radius) && radius >= 0;
}

// The sums of the four trial centres of one step, in one pass over the
// points; each sum adds the same terms in the same order as
// absoluteDeviationSum at that centre.
std::array<double, 4> trialSums(const QVector<QPointF>& points, const std::array<QPointF, 4>& trials, double radius)
{
    std::array<double, 4> sums{0, 0, 0, 0};
    for (const QPointF& p : points) {
        for (int t = 0; t < 4; ++t)
            sums[t] += std::abs(radialDeviation(p.x(), p.y(), trials[t], radius));
    }
    return sums;
}

} // namespace

double absoluteDeviationSum(const QVector<QPointF>& points, QPointF centre, double radius)
{
    double sum = 0;
    for (const QPointF& p : points)
        sum += std::abs(radialDeviation(p.x(), p.y(), centre, radius));
    return sum;
}

bool allPointsOutside(const QVector<QPointF>& points, QPointF centre, double radius)
{
    return std::all_of(points.begin(), points.end(), [centre, radius](const QPointF& p) {
        const double dx = p.x() - centre.x();
        const double dy = p.y() - centre.y();
        return std::sqrt(dx * dx + dy * dy) > radius;
    });
}

QPointF fitCentre(const QVector<QPointF>& points, QPointF centre, double radius)
{
    if (!canSearch(centre, radius))
        return centre;
    double current = absoluteDeviationSum(points, centre, radius);
    double step = 0.1 * radius;
    const double smallestStep = 1e-5 * radius;
    for (int moves = 0; step > smallestStep && moves < kMaxCentreMoves;) {
        const std::array<QPointF, 4> trials{
            QPointF(centre.x() + step, centre.y()), QPointF(centre.x() - step, centre.y()),
            QPointF(centre.x(), centre.y() + step), QPointF(centre.x(), centre.y() - step)};
        const std::array<double, 4> sums = trialSums(points, trials, radius);
        const double least = std::min(current, *std::min_element(sums.begin(), sums.end()));
        const auto winner = std::find(sums.begin(), sums.end(), least);
        if (winner == sums.end()) {
            step *= 0.5;
            continue;
        }
        centre = trials[std::size_t(winner - sums.begin())];
        current = *winner;
        ++moves;
    }
    return centre;
}

QPointF touchCentre(const QVector<QPointF>& points, QPointF centre, double radius)
{
    if (!canSearch(centre, radius))
        return centre;
    const auto above
        = std::count_if(points.begin(), points.end(), [&centre](const QPointF& p) { return p.y() > centre.y(); });
    const auto others = points.size() - above;
    if (above == others)
        return centre;
    // Towards the points: down when most of them lie at or below the centre.
    const double towards = above < others ? -1.0 : 1.0;
    double step = radius / 10;
    const double smallestStep = 1e-5 * radius;
    for (int moves = 0; step > smallestStep && moves < kMaxCentreMoves;) {
        const QPointF closer(centre.x(), centre.y() + towards * step);
        if (allPointsOutside(points, closer, radius)) {
            centre = closer;
            ++moves;
        } else if (allPointsOutside(points, centre, radius)) {
            step *= 0.5;
        } else {
            centre = QPointF(centre.x(), centre.y() - towards * step);
            ++moves;
        }
    }
    return centre;
}

QPointF givenRadiusCentre(const QVector<QPointF>& points, QPointF start, double radius)
{
    return touchCentre(points, fitCentre(points, start, radius), radius);
}

} // namespace MeasurementMath
