#include "AreaRatioCurve.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace Algos {

namespace {

constexpr int kLevels = AreaRatioCurve::kLevels;

double trapezoid(const QVector<double>& x, const QVector<double>& heights, int i)
{
    return std::abs((heights[i] + heights[i + 1]) * (x[i + 1] - x[i]) * 0.5);
}

// The area above each level, level by level; for levels that do not rise.
QVector<double> areasLevelByLevel(const QVector<double>& x, const QVector<double>& heights, int pairs,
                                  const QVector<double>& levels)
{
    QVector<double> areas(kLevels, 0.0);
    for (int j = 0; j < kLevels; ++j)
        for (int i = 0; i < pairs; ++i)
            if (heights[i] > levels[j])
                areas[j] += trapezoid(x, heights, i);
    return areas;
}

// The number of levels strictly below the height, for rising levels evenly
// spaced `step` apart: a first guess from the height, settled against the
// levels themselves. A height that is not a number is above no level.
int levelsBelow(const QVector<double>& levels, double step, double height)
{
    if (!(height > levels[0]))
        return 0;
    if (height > levels[kLevels - 1])
        return kLevels;
    int below = step > 0 ? std::clamp(int((height - levels[0]) / step) + 1, 1, kLevels - 1) : 1;
    while (below < kLevels && levels[below] < height)
        ++below;
    while (below > 1 && !(levels[below - 1] < height))
        --below;
    return below;
}

// Each trapezoid counts at every level below its first height, that is at
// the levels 0 .. m - 1 with m the number of levels below that height:
// summing the trapezoids per m and then from the top level down gives every
// level its area without cancellation.
QVector<double> areasInOnePass(const QVector<double>& x, const QVector<double>& heights, int pairs,
                               const QVector<double>& levels)
{
    const double step = (levels[kLevels - 1] - levels[0]) / (kLevels - 1);
    std::array<double, kLevels + 1> byLevelsBelow{};
    for (int i = 0; i < pairs; ++i) {
        const int below = levelsBelow(levels, step, heights[i]);
        if (below > 0)
            byLevelsBelow[below] += trapezoid(x, heights, i);
    }
    QVector<double> areas(kLevels, 0.0);
    double sum = 0;
    for (int j = kLevels - 1; j >= 0; --j) {
        sum += byLevelsBelow[j + 1];
        areas[j] = sum;
    }
    return areas;
}

} // namespace

AreaRatioCurve areaRatioCurve(const QVector<double>& x, const QVector<double>& heights, double low, double high)
{
    AreaRatioCurve curve;
    curve.levels.resize(kLevels);
    for (int j = 0; j < kLevels; ++j)
        curve.levels[j] = low + j * (high - low) / kLevels;

    const int pairs = std::max(0, std::min(x.size(), heights.size()) - 2);
    const bool rising = high >= low && std::all_of(curve.levels.cbegin(), curve.levels.cend(),
                                                   [](double level) { return std::isfinite(level); });
    const QVector<double> areas = rising ? areasInOnePass(x, heights, pairs, curve.levels)
                                         : areasLevelByLevel(x, heights, pairs, curve.levels);
    double largest = 0;
    for (double area : areas)
        if (area > largest)
            largest = area;
    curve.percents.resize(kLevels);
    for (int j = 0; j < kLevels; ++j)
        curve.percents[j] = 100 * areas[j] / largest;
    return curve;
}

} // namespace Algos
