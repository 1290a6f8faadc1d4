#pragma once

#include "ProfileData.h"
#include "SampledProfile.h"

// Spacing, slope and shape parameters of a filtered profile (x and heights in
// micrometres). Slopes are given as the slope value times 180/pi, without an
// arctangent; D counts peaks per 10000 micrometres. Every one that works over
// sampling lengths is 0 for a profile shorter than one sampling length.
namespace Algos {

// Mean width of the profile elements about one mean line of the whole profile.
double RSm(const ProfileData& profile, double samplingLength);
// Mean height of the profile elements of all sampling lengths, each about its own mean line.
double Rc(const ProfileData& profile, double samplingLength);
// Mean spacing of the local peaks: (x of the last - x of the first) / their number.
double S(const ProfileData& profile);
double D(const ProfileData& profile, double samplingLength);
double RDq(const ProfileData& profile, double samplingLength);
double RDa(const ProfileData& profile, double samplingLength);
double lambdaQ(const ProfileData& profile, double samplingLength);
double lambdaA(const ProfileData& profile, double samplingLength);
// Length of the polyline through the points; 0 for fewer than three points.
double developedLength(const ProfileData& profile);
double L0(const ProfileData& profile, double samplingLength);
double l0(const ProfileData& profile, double samplingLength);

double RSm(const SampledProfile& profile);
double Rc(const SampledProfile& profile);
double S(const SampledProfile& profile);
double D(const SampledProfile& profile);
double RDq(const SampledProfile& profile);
double RDa(const SampledProfile& profile);
double lambdaQ(const SampledProfile& profile);
double lambdaA(const SampledProfile& profile);
double L0(const SampledProfile& profile);
double l0(const SampledProfile& profile);

} // namespace Algos
