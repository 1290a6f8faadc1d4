#pragma once

#include "ProfileData.h"
#include "SampledProfile.h"

// Amplitude parameters of a filtered profile (x and heights in micrometres),
// from the deviations of the heights from each sampling length's own mean
// line. Pooled ones (Ra, Rq, Rsk, Rku) run over the points of all sampling
// lengths; averaged ones take the mean of the per-length values over the
// sampling lengths that have enough points. Every one is 0 for a profile
// shorter than one sampling length, or without a usable sampling length.
namespace Algos {

double Ra(const ProfileData& profile, double samplingLength);
double Rq(const ProfileData& profile, double samplingLength);
double Rsk(const ProfileData& profile, double samplingLength);
double Rku(const ProfileData& profile, double samplingLength);
double Rmax(const ProfileData& profile, double samplingLength);
double Rz(const ProfileData& profile, double samplingLength);
double Rm(const ProfileData& profile, double samplingLength);
double Rp(const ProfileData& profile, double samplingLength);
double Rv(const ProfileData& profile, double samplingLength);
double R3z(const ProfileData& profile, double samplingLength);
// Highest minus lowest deviation from one line fitted to the whole profile.
double Rt(const ProfileData& profile);

double Ra(const SampledProfile& profile);
double Rq(const SampledProfile& profile);
double Rsk(const SampledProfile& profile);
double Rku(const SampledProfile& profile);
double Rmax(const SampledProfile& profile);
double Rz(const SampledProfile& profile);
double Rm(const SampledProfile& profile);
double Rp(const SampledProfile& profile);
double Rv(const SampledProfile& profile);
double R3z(const SampledProfile& profile);
double Rt(const SampledProfile& profile);

} // namespace Algos
