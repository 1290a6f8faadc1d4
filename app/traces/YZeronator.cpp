#include "YZeronator.h"

#include <cmath>
#include <limits>

YZeronator::YZeronator() : IDataPostProcessor(QStringLiteral("YZeronator")) {}

void YZeronator::process(ProfileData& data)
{
    if (data.size() < 2)
        return;
    // NaN heights never compare lower, so they cannot become the minimum.
    double lowest = std::numeric_limits<double>::infinity();
    for (double height : data[1]) {
        if (height < lowest)
            lowest = height;
    }
    if (!std::isfinite(lowest))
        return;
    for (double& height : data[1])
        height -= lowest;
}
