#include "MovingAverage.h"

#include <cmath>

#include "ProfileChecks.h"

namespace Algos {

ProfileData subtractMovingAverage(const ProfileData& profile, double halfWidth)
{
    if (profile.size() != 2 || profile[0].size() != profile[1].size() || !allFinite(profile[0])
        || !allFinite(profile[1]) || !(halfWidth > 0) || !std::isfinite(halfWidth))
        return {};
    const QVector<double>& x = profile[0];
    const QVector<double>& y = profile[1];
    const int n = x.size();

    QVector<double> result(n);
    int start = 0;
    int end = 0;
    double sum = 0;
    for (int k = 0; k < n; ++k) {
        while (x[k] - x[start] > halfWidth && start < k)
            sum -= y[start++];
        // The window always reaches past point k itself, even for x out of order.
        while (end < n && (end <= k || x[end] - x[k] < halfWidth))
            sum += y[end++];
        result[k] = y[k] - sum / (end - start);
    }
    return {x, result};
}

} // namespace Algos
