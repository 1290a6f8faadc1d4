#pragma once

#include "ErrorMeasurement.h"

// Deviation from one circle over n stretches of an interrupted arc: the
// circle is fitted to the stretches together, and the deviation curve runs on
// through the gaps between them.
class RadiusDisplacementErrorMeasurementByTwoSegment : public ErrorMeasurement
{
public:
    // n: the number of stretches to pick.
    RadiusDisplacementErrorMeasurementByTwoSegment(PlotWidget* plot, int traceCount, int n);

protected:
    Outcome computeDeviations(const SelectedPoints& points) override;
};
