#include "HeightDistribution.h"

#include <algorithm>

#include "LevelCounter.h"

namespace Algos {

namespace {

constexpr int kWholePercent = 100;

bool hasEqualColumns(const ProfileData& profile, int minRows)
{
    return profile.size() >= 2 && profile.at(0).size() == profile.at(1).size() && profile.at(0).size() >= minRows;
}

// The distribution of the heights alone; the caller has checked the profile.
ProfileData distributionOfHeights(const QVector<double>& heights, int band, double low, double high)
{
    const double points = heights.size();

    QVector<double> bounds;
    bounds.reserve(kWholePercent + 1);
    for (int percent = 0; percent <= kWholePercent; ++percent)
        bounds.append(low + percent / 100.0 * (high - low));
    const LevelCounter counter(bounds, heights);

    ProfileData distribution(2);
    int lower = 0;
    int upper = 1;
    while (lower < kWholePercent) {
        const int nextLower = (upper - lower > band || upper == kWholePercent) ? lower + 1 : lower;
        const double bottom = bounds.at(lower);
        const double top = bounds.at(upper);
        distribution[0].append((top - bottom) * 0.5 + bottom);
        distribution[1].append(counter.between(lower, upper) / points * 100);
        if (upper < kWholePercent)
            ++upper;
        lower = nextLower;
    }
    return distribution;
}

} // namespace

ProfileData heightDistribution(const ProfileData& profile, int band, double low, double high)
{
    if (!hasEqualColumns(profile, 2))
        return {};
    return distributionOfHeights(profile.at(1), band, low, high);
}

ProfileData heightDistributionInWindow(const ProfileData& profile, int band, const double xRange[2],
                                       const double heightRange[2])
{
    if (!hasEqualColumns(profile, 2))
        return {};
    const QVector<double>& x = profile.at(0);
    const QVector<double>& heights = profile.at(1);
    const auto [lowest, highest] = std::minmax_element(heights.cbegin(), heights.cend());

    QVector<double> insideHeights(x.size());
    double* const kept = insideHeights.data();
    int count = 0;
    for (int i = 0; i < x.size(); ++i) {
        if (xRange[0] < x.at(i) && x.at(i) < xRange[1] && heightRange[0] < heights.at(i) &&
            heights.at(i) < heightRange[1])
            kept[count++] = heights.at(i);
    }
    if (count < 2)
        return {};
    insideHeights.resize(count);
    return distributionOfHeights(insideHeights, band, std::max(heightRange[0], *lowest),
                                 std::min(heightRange[1], *highest));
}

double Dp(const ProfileData& distribution, double level)
{
    if (!hasEqualColumns(distribution, 2))
        return 0;
    const QVector<double>& middles = distribution.at(0);
    for (int row = 0; row < middles.size(); ++row) {
        if (middles.at(row) > level)
            return distribution.at(1).at(row);
    }
    return 0;
}

} // namespace Algos
