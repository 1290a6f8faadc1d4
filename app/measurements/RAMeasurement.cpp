#include "RAMeasurement.h"

#include "AmplitudeParameters.h"

RAMeasurement::RAMeasurement(PlotWidget* plot, int traceCount)
    : RoughnessMeasurement(ROUGHNESS_RA, plot, traceCount)
{
}

double RAMeasurement::computeParameter(const ProfileData& profile, double cutOff) const
{
    return Algos::Ra(profile, cutOff);
}
