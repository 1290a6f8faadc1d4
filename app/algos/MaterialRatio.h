#pragma once

#include "ProfileData.h"
#include "RMS.h"
#include "SampledProfile.h"

// The material-ratio curve of a filtered profile and the parameters read from
// it or from a height level. Heights and levels in micrometres.
namespace Algos {

// 100 rows of (material ratio in %, level): row k is the share of the heights
// at or above min + (max - min) / 100 * (99 - k), so the ratio rises to 100 %
// at the last row, the minimum. Two empty columns for a profile without
// heights, with a height that is not finite, or without a height range.
ProfileData materialRatioCurve(const ProfileData& profile);

// Of all runs of consecutive rows that span 40 % of material ratio or more,
// the least-squares line (ratio as x, level as y) of least absolute gradient,
// the first on ties; not valid when no run spans 40 %.
RMS leastSlopeSecant(const ProfileData& curve);

// The core height, the peaks above and the valleys below the core, and the
// material ratios where the curve meets the core's upper and lower level; all
// 0 for a curve of fewer than two rows or without a 40 % run. Mr2 is 100 when
// the curve never comes down to the core's lower level.
double Rk(const ProfileData& curve);
double Rpk(const ProfileData& curve);
double Rvk(const ProfileData& curve);
double Mr1(const ProfileData& curve);
double Mr2(const ProfileData& curve);

// Summed x length of the stretches above the level: from the point that rises
// above it to the point that falls below it; a stretch still open at the end
// does not count, and points on the level neither start nor end one.
double materialLengthAtLevel(const ProfileData& profile, double level);

// The material length at the level per sampling length (etaP, micrometres)
// and as a fraction of the sampling length's x span (tp, 0 to 1), averaged
// over the sampling lengths of more than two points. No mean line is used.
double etaP(const ProfileData& profile, double samplingLength, double level);
double tp(const ProfileData& profile, double samplingLength, double level);
double etaP(const SampledProfile& profile, double level);
double tp(const SampledProfile& profile, double level);

} // namespace Algos
