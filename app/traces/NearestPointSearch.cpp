#include "NearestPointSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "algos/Geometry.h"
#include "algos/ProfileChecks.h"

NearestPointSearch::NearestPointSearch(const ProfileData& reference)
{
    // A reference point with a non-finite coordinate is never nearer than
    // the largest double, so leaving it out changes no result.
    QVector<int> order;
    const int count = Algos::pointCount(reference);
    for (int i = 0; i < count; ++i) {
        if (std::isfinite(reference[0][i]) && std::isfinite(reference[1][i]))
            order.append(i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&reference](int a, int b) { return reference[0][a] < reference[0][b]; });
    m_x.reserve(order.size());
    m_y.reserve(order.size());
    for (int i : order) {
        m_x.append(reference[0][i]);
        m_y.append(reference[1][i]);
    }
}

double NearestPointSearch::distanceSum(const ProfileData& points) const
{
    const int count = Algos::pointCount(points);
    double sum = 0;
    for (int i = 0; i < count; ++i)
        sum += std::sqrt(nearestSquaredDistance(points[0][i], points[1][i]));
    return sum;
}

double NearestPointSearch::nearestSquaredDistance(double x, double y) const
{
    double nearest = std::numeric_limits<double>::max();
    const int start = int(std::lower_bound(m_x.cbegin(), m_x.cend(), x) - m_x.cbegin());
    for (int j = start; j < m_x.size(); ++j) {
        const double dx = m_x[j] - x;
        if (dx * dx >= nearest)
            break;
        nearest = std::min(nearest, Algos::squaredDistance(x, y, m_x[j], m_y[j]));
    }
    for (int j = start - 1; j >= 0; --j) {
        const double dx = x - m_x[j];
        if (dx * dx >= nearest)
            break;
        nearest = std::min(nearest, Algos::squaredDistance(x, y, m_x[j], m_y[j]));
    }
    return nearest;
}
