#pragma once

#include "ErrorMeasurement.h"

// Deviation from one circle over n stretches, smoothed by the running
// median of the filtered kind.
class RDEMFiterByTwoSegment : public ErrorMeasurement
{
public:
    // n: the number of stretches to pick.
    RDEMFiterByTwoSegment(PlotWidget* plot, int traceCount, int n);

protected:
    Outcome computeDeviations(const SelectedPoints& points) override;
};
