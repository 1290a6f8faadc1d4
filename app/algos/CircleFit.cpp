#include "CircleFit.h"

#include <cmath>

namespace Algos {

namespace {

constexpr int kMaxNewtonSteps = 99;

// Root of A0 + A1 x + A2 x^2 + 4 x^4 found by Newton steps from 0; a step that
// does not shrink the polynomial's value ends the search.
double characteristicRoot(double a0, double a1, double a2)
{
    double x = 0;
    double y = a0;
    for (int step = 0; step < kMaxNewtonSteps; ++step) {
        const double slope = a1 + x * (2 * a2 + 16 * x * x);
        const double next = x - y / slope;
        if (next == x || !std::isfinite(next))
            break;
        const double nextY = a0 + next * (a1 + next * (a2 + 4 * next * next));
        if (std::abs(nextY) >= std::abs(y))
            break;
        x = next;
        y = nextY;
    }
    return x;
}

} // namespace

void fitCircleToMoments(const CircleMoments& m, QPointF& centre, double& radius)
{
    const double mz = m.xx + m.yy;
    const double cov = m.xx * m.yy - m.xy * m.xy;
    const double var = m.zz - mz * mz;

    const double a2 = 4 * cov - 3 * mz * mz - m.zz;
    const double a1 = var * mz + 4 * cov * mz - m.xz * m.xz - m.yz * m.yz;
    const double a0 = m.xz * (m.xz * m.yy - m.yz * m.xy) + m.yz * (m.yz * m.xx - m.xz * m.xy) - var * cov;

    const double x = characteristicRoot(a0, a1, a2);
    const double det = x * x - x * mz + cov;
    const double xc = (m.xz * (m.yy - x) - m.yz * m.xy) / det / 2;
    const double yc = (m.yz * (m.xx - x) - m.xz * m.xy) / det / 2;

    centre = QPointF(m.meanX + xc, m.meanY + yc);
    radius = std::sqrt(xc * xc + yc * yc + mz - 2 * x);
}

} // namespace Algos
