#pragma once

#include <QVector>

namespace Algos {

// The ratio curve drawn beside a profile: at each of kLevels heights from
// `low` upwards in steps of (high - low) / kLevels (high itself is not a
// level), the area of the profile's trapezoids that start above the height,
// in % of the largest of these areas.
//
// A trapezoid is the pair of consecutive points (i, i + 1) for i up to the
// third-to-last point, counted when height[i] is strictly above the level,
// with the area |(height[i] + height[i + 1]) (x[i + 1] - x[i]) / 2|: the
// height itself, not the height above the level. Areas that are all 0 give
// percents that are not numbers.
struct AreaRatioCurve
{
    static constexpr int kLevels = 100;

    QVector<double> levels;
    QVector<double> percents;
};

// One pass over the points; the same as summing the trapezoids level by level
// up to the order of the sums. Columns of different lengths are read up to
// the shorter one.
AreaRatioCurve areaRatioCurve(const QVector<double>& x, const QVector<double>& heights, double low, double high);

} // namespace Algos
