#pragma once

#include "ErrorMeasurement.h"

// Deviation from the imported drawing: each selected point's distance to the
// nearest entity of the drawing store, valued by their mean.
class ErrorPlane : public ErrorMeasurement
{
public:
    ErrorPlane(PlotWidget* plot, int traceCount);

protected:
    Outcome computeDeviations(const SelectedPoints& points) override;
};
