#pragma once

#include "CurvatureMeasurement.h"

// The radius of the least-squares circle through one selected stretch.
class RegularRadiusMeasurement : public CurvatureMeasurement
{
public:
    RegularRadiusMeasurement(PlotWidget* plot, int traceCount);

    void calculate() override;
};
