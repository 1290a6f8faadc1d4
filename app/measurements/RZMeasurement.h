#pragma once

#include "RoughnessMeasurement.h"

// The roughness Rz of one range of a trace.
class RZMeasurement : public RoughnessMeasurement
{
    Q_OBJECT
public:
    RZMeasurement(PlotWidget* plot, int traceCount);

    double computeParameter(const ProfileData& profile, double cutOff) const override;
};
