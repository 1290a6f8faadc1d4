#pragma once

#include <cstddef>

#include "ResultIndex.h"

namespace kalvora {

// Marks every entry but the caller's own (index 12) as having no value.
void presetRoughnessParameters(Results& results);

// Roughness parameters of the profile (x, z), n >= 2 and x[n - 1] != 0, into
// the entries of `results` that can be computed; the others keep their values.
// z is not changed: the peak search works on a copy.
void computeRoughnessParameters(Results& results, const double* x, const double* z, std::size_t n, double step);

// Waviness parameters of the profile (x, z), n >= 2: total height, mean and
// root-mean-square deviation and the spacing of downward mean-line crossings.
void computeWavinessParameters(Results& results, const double* x, const double* z, std::size_t n);

} // namespace kalvora
