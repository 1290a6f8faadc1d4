#pragma once

#include "RoughnessMeasurement.h"

// The roughness Ra of one range of a trace.
class RAMeasurement : public RoughnessMeasurement
{
    Q_OBJECT
public:
    RAMeasurement(PlotWidget* plot, int traceCount);

    double computeParameter(const ProfileData& profile, double cutOff) const override;
};
