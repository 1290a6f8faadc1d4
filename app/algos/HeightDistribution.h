#pragma once

#include "ProfileData.h"

// Height distribution of a profile: the share of the points in sliding bands
// of levels, and the share at a height level.
namespace Algos {

// Two columns: the middle level of each band and the share of the points (in
// %) whose height lies in it, bounds included. Bands run over low..high in
// whole percent: [max(0, e - band - 1) %, e %] for e = 1 to 100, then
// [g %, 100 %] for g = 100 - band to 99; neighbours overlap. Empty unless the
// profile has two columns of equal length with at least two points.
ProfileData heightDistribution(const ProfileData& profile, int band, double low, double high);

// The distribution of the points strictly inside the x and height window,
// over the part of the window's height range that the whole profile reaches.
ProfileData heightDistributionInWindow(const ProfileData& profile, int band, const double xRange[2],
                                       const double heightRange[2]);

// The share of the first band whose middle lies above the level; 0 when none
// does or the distribution is not one of two equal columns of several rows.
double Dp(const ProfileData& distribution, double level);

} // namespace Algos
