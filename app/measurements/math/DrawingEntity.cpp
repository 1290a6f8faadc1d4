#include "DrawingEntity.h"

#include <cmath>

namespace MeasurementMath {

void normaliseArcAngles(double& startDegrees, double& endDegrees)
{
    double start = std::fmod(startDegrees, 360.0);
    if (start < 0)
        start += 360.0;
    if (start >= 360.0)
        start = 0;
    double span = std::fmod(endDegrees - startDegrees, 360.0);
    if (span <= 0)
        span += 360.0;
    startDegrees = start;
    endDegrees = start + span;
}

DrawingEntity arcEntity(double cx, double cy, double r, double startDegrees, double endDegrees)
{
    normaliseArcAngles(startDegrees, endDegrees);
    return {kCircleTag, {cx, cy, r, startDegrees, endDegrees}};
}

} // namespace MeasurementMath
