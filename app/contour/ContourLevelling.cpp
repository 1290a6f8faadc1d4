#include "ContourLevelling.h"

void ContourLevelling::add(double angle, const QPointF& centre, double unitsPerMicrometre)
{
    m_rotations.push_back(
        {Algos::PointRotation(float(centre.x()), float(centre.y()), float(angle)), unitsPerMicrometre});
}
