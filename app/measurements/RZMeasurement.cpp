#include "RZMeasurement.h"

#include "AmplitudeParameters.h"

RZMeasurement::RZMeasurement(PlotWidget* plot, int traceCount)
    : RoughnessMeasurement(ROUGHNESS_RZ, plot, traceCount)
{
}

double RZMeasurement::computeParameter(const ProfileData& profile, double cutOff) const
{
    return Algos::Rz(profile, cutOff);
}
