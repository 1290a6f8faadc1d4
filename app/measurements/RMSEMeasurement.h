#pragma once

#include "ErrorMeasurement.h"

// Deviation from a line: the spread of the selected points' heights above
// their least-squares line.
class RMSEMeasurement : public ErrorMeasurement
{
public:
    RMSEMeasurement(PlotWidget* plot, int traceCount);

protected:
    Outcome computeDeviations(const SelectedPoints& points) override;
};
