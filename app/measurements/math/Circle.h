#pragma once

#include <QPointF>

namespace MeasurementMath {

// A circle in plot data coordinates.
struct Circle
{
    QPointF centre;
    double radius = 0;
};

} // namespace MeasurementMath
