#pragma once

#include "ErrorMeasurement.h"

// Deviation from a circle, smoothed: the radial deviations from the
// least-squares circle through a running median over a quarter of a
// millimetre; the value is the spread of the medians.
class RadiusDisplacementFilterErrorMeasurement : public ErrorMeasurement
{
public:
    RadiusDisplacementFilterErrorMeasurement(PlotWidget* plot, int traceCount);

protected:
    Outcome computeDeviations(const SelectedPoints& points) override;
};
