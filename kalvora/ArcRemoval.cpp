#include "ArcRemoval.h"

#include <cmath>

namespace kalvora {

double removeParabola(double* z, std::size_t n, double heightScale, double spacing) noexcept
{
    // With the index centred, the sums of t and t^3 vanish and the normal
    // equations of z = c0 + c1 t + c2 t^2 separate into the ones below.
    const double centre = (static_cast<double>(n) - 1.0) * 0.5;
    double st2 = 0, st4 = 0, sz = 0, stz = 0, st2z = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) - centre;
        const double t2 = t * t;
        st2 += t2;
        st4 += t2 * t2;
        sz += z[i];
        stz += t * z[i];
        st2z += t2 * z[i];
    }
    const double count = static_cast<double>(n);
    const double den = count * st4 - st2 * st2;
    const double c2 = (count * st2z - sz * st2) / den;
    const double c1 = stz / st2;
    const double c0 = (sz * st4 - st2z * st2) / den;

    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) - centre;
        z[i] -= c2 * t * t + c1 * t + c0;
    }

    const double r = std::fabs(c2 * heightScale / spacing / spacing) * 0.001;
    return r > 1e-15 ? 1.0 / r : kNoRadius;
}

} // namespace kalvora
