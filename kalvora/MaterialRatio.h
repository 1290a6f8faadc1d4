#pragma once

#include <cstddef>

#include "ResultIndex.h"

namespace kalvora {

// Amplitude density and material ratio of z[0..n-1] (n >= 1) at `level`
// (0..100, per cent of the height range below the highest point), and the
// core of the material-ratio curve. The density window spans 51 - smoothing
// per cent of the range. Writes the amplitude density, the material ratio and
// the level always, the core entries only where the core fit gives them.
void computeMaterialRatio(Results& results, const double* z, std::size_t n, long long smoothing, int level);

} // namespace kalvora
