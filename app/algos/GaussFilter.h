#pragma once

#include <QVector>

#include <complex>

#include "ProfileData.h"

namespace Algos {

using Spectrum = QVector<std::complex<double>>;

// Gaussian weighting constant of the profile filter.
constexpr double kGaussAlpha = 0.4697;

// Gaussian profile filter in the frequency domain. With two cut-offs it keeps
// the wavelengths between them: cutOffA the long one, cutOffB the short one
// (roughness, waviness). With cutOffA = DBL_MAX it is the low-pass that gives
// the mean line of cut-off cutOffB. The profile's least-squares line is taken
// out before the transform, so a tilt does not wrap round into a step; only
// the low-pass puts it back. The result is trimmed by half of cutOffA (of
// cutOffB for the low-pass) at both ends, unless that would leave nothing.
// Anything but two columns of equal length with at least two finite points
// and a rising span, or a cut-off that is not positive and finite, gives an
// empty profile.
ProfileData gaussFilter(const ProfileData& profile, double cutOffA, double cutOffB);

// The profile linearly interpolated at the smallest power of two of evenly
// spaced x positions, not fewer than its points, from its first to its last
// x. Not two non-empty columns of equal length: empty.
ProfileData resampleToPowerOfTwo(const ProfileData& profile);

// Discrete Fourier transform, in place (exp(-2 pi i j k / N)).
void fft(Spectrum& spectrum);
// Its inverse, in place, scaled by 1 / N.
void inverseFft(Spectrum& spectrum);

// Scales bin i by |exp(-pi (alpha b / W[i])^2) - exp(-pi (alpha a / W[i])^2)|;
// a bin of infinite wavelength becomes 0. Bins past the end of the wavelength
// list are left as they are.
void applyGaussWeights(Spectrum& spectrum, const QVector<double>& wavelengths, double a, double b);

// Drops the points closer than half the cut-off to either end (a point exactly
// half a cut-off away stays, also when its key is off by a rounding, see
// keySlack). A profile not longer than the cut-off, or a cut-off that is not a
// number, leaves the profile as it is.
ProfileData trimEnds(ProfileData profile, double cutOff);

} // namespace Algos
