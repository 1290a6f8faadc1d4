#pragma once

#include "ErrorMeasurement.h"

// Deviation from a circle: the spread of the selected points' radial
// deviations from their least-squares circle.
class RDEMeasurement : public ErrorMeasurement
{
public:
    RDEMeasurement(PlotWidget* plot, int traceCount);

protected:
    Outcome computeDeviations(const SelectedPoints& points) override;
};
