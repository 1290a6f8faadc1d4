#pragma once

#include "ErrorMeasurement.h"

class DxfDrawing;

// Deviation from the imported drawing: each selected point's distance to the
// nearest entity of the tab's drawing store, valued by their mean. While the
// store holds no drawing there is no value, and the status line asks for one.
class ErrorPlane : public ErrorMeasurement
{
public:
    // drawing: the store of the tab; it outlives the measurement.
    ErrorPlane(PlotWidget* plot, int traceCount, const DxfDrawing* drawing);

protected:
    Outcome computeDeviations(const SelectedPoints& points) override;

private:
    const DxfDrawing* m_drawing;
};
