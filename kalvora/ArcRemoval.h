#pragma once

#include <cstddef>

namespace kalvora {

// Returned when the fitted parabola has no curvature worth a radius.
constexpr double kNoRadius = -1e-9;

// Subtracts the least-squares parabola over the sample index from z[0..n-1]
// (n >= 3) and returns the radius figure 1 / (|c2 * heightScale / spacing^2| * 0.001)
// of its quadratic coefficient c2, or kNoRadius for a flat fit.
double removeParabola(double* z, std::size_t n, double heightScale, double spacing) noexcept;

} // namespace kalvora
