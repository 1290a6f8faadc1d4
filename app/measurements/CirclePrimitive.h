#pragma once

#include "math/Circle.h"

// A measurement that stands for a circle in the intersection constructions.
class CirclePrimitive
{
public:
    virtual ~CirclePrimitive() = default;

    // Centre and radius in plot data coordinates.
    virtual MeasurementMath::Circle circle() const = 0;
};
