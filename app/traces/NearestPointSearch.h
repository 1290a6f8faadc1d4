#pragma once

#include <QVector>

#include "ProfileData.h"

// The nearest-point error measure of a fixed reference set, answered through
// the reference points sorted by x: a query looks outward from its own x and
// stops once the x distance alone reaches the best distance found. It gives
// exactly what Algos::nearestDistanceSum gives for the same sets.
class NearestPointSearch
{
public:
    // Columns 0 and 1 of `reference` as x and y.
    explicit NearestPointSearch(const ProfileData& reference);

    // Sum over the points of `points` of the distance to the nearest
    // reference point; a point with no neighbour adds sqrt(DBL_MAX).
    double distanceSum(const ProfileData& points) const;

private:
    double nearestSquaredDistance(double x, double y) const;

    QVector<double> m_x;
    QVector<double> m_y;
};
