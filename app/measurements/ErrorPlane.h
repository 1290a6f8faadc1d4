#pragma once

#include "ErrorMeasurement.h"

class DxfDrawing;

// Deviation from the imported drawing: each selected point's distance to the
// nearest entity of the tab's drawing store, valued by their mean.
class ErrorPlane : public ErrorMeasurement
{
public:
    // drawing: the store of the tab; it outlives the measurement.
    ErrorPlane(PlotWidget* plot, int traceCount, const DxfDrawing* drawing);

protected:
    std::optional<Deviations> computeDeviations(const SelectedPoints& points) override;

private:
    const DxfDrawing* m_drawing;
};
