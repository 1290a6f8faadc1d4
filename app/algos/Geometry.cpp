#include "Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "PointRotation.h"
#include "ProfileChecks.h"
#include "ProfileView.h"

namespace Algos {

bool isPowerOfTwo(int n)
{
    return n > 0 && (n & (n - 1)) == 0;
}

double squaredDistance(double x1, double y1, double x2, double y2)
{
    return (x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2);
}

QVector<double> rotateVector(double x, double y, double angleDegrees)
{
    const double a = angleDegrees * M_PI / 180;
    const double c = std::cos(a);
    const double s = std::sin(a);
    return {x * c - y * s, y * c + x * s};
}

QPointF rotatePoint(float cx, float cy, float angle, const QPointF& point)
{
    return PointRotation(cx, cy, angle)(point);
}

double nearestDistanceSum(const ProfileData& reference, const ProfileData& points)
{
    const ProfileView searched = ProfileView::of(reference);
    const ProfileView summed = ProfileView::of(points);
    double sum = 0;
    for (int i = 0; i < summed.size; ++i) {
        double nearest = std::numeric_limits<double>::max();
        for (int j = 0; j < searched.size; ++j) {
            const double d = squaredDistance(summed.x[i], summed.heights[i], searched.x[j], searched.heights[j]);
            if (d < nearest)
                nearest = d;
        }
        sum += std::sqrt(nearest);
    }
    return sum;
}

ProfileData resampleAt(const ProfileData& profile, const QVector<double>& xs)
{
    if (!isTwoColumnProfile(profile))
        return {};
    const QVector<double>& x = profile[0];
    const QVector<double>& h = profile[1];
    const int n = x.size();

    QVector<double> heights;
    heights.reserve(xs.size());
    int i = 1;
    for (double target : xs) {
        while (i < n && target > x[i])
            ++i;
        if (i >= n)
            heights.append(h[n - 1]);
        else if (x[i] == x[i - 1])
            heights.append(h[i]); // a repeated x: no slope to follow
        else
            heights.append(h[i - 1] + (target - x[i - 1]) / (x[i] - x[i - 1]) * (h[i] - h[i - 1]));
    }
    return {xs, heights};
}

void addConstant(QVector<double>& values, double c)
{
    for (double& value : values)
        value += c;
}

} // namespace Algos
