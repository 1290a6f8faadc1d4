#pragma once

namespace MeasurementMath {

// The line y = k·x + b in plot data coordinates.
struct SlopedLine
{
    double k = 0;
    double b = 0;
};

} // namespace MeasurementMath
