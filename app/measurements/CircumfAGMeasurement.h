#pragma once

#include "CircleConstruction.h"

// The least-squares circle through one selected stretch, as construction
// geometry.
class CircumfAGMeasurement : public CircleConstruction
{
public:
    CircumfAGMeasurement(PlotWidget* plot, int traceCount);

    void calculate() override;
};
