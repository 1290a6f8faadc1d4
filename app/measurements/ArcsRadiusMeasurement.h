#pragma once

#include "CurvatureMeasurement.h"

// The radius of one least-squares circle through two selected arcs together.
class ArcsRadiusMeasurement : public CurvatureMeasurement
{
public:
    ArcsRadiusMeasurement(PlotWidget* plot, int traceCount);

    void calculate() override;
};
