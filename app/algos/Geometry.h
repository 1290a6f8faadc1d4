#pragma once

#include <QPointF>
#include <QVector>

#include <cmath>

#include "ProfileData.h"

namespace Algos {

constexpr double kRadiansPerDegree = 0.017453292519943295;

// Both coordinates are finite numbers.
inline bool isFinite(const QPointF& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

bool isPowerOfTwo(int n);

double squaredDistance(double x1, double y1, double x2, double y2);

// (x, y) rotated counter-clockwise about the origin by an angle in degrees.
QVector<double> rotateVector(double x, double y, double angleDegrees);

// The point rotated counter-clockwise about (cx, cy) by an angle in radians;
// centre and angle come in single precision. An angle of exactly 0 returns
// the point unchanged.
QPointF rotatePoint(float cx, float cy, float angle, const QPointF& point);

// Sum over the points of `points` of the distance to the nearest point of
// `reference` (columns 0 and 1 as x and y). A point finds no neighbour in an
// empty reference set and adds the square root of the largest double.
double nearestDistanceSum(const ProfileData& reference, const ProfileData& points);

// The profile's heights, linearly interpolated at the ascending positions xs:
// {xs, heights}. Positions before the first point follow the first segment,
// positions past the last point take the last height. A profile that is not
// two non-empty columns of equal length gives an empty result.
ProfileData resampleAt(const ProfileData& profile, const QVector<double>& xs);

void addConstant(QVector<double>& values, double c);

} // namespace Algos
