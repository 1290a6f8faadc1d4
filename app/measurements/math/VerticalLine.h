#pragma once

namespace MeasurementMath {

// The line of all points with this x, in plot data coordinates.
struct VerticalLine
{
    double x = 0;
};

} // namespace MeasurementMath
