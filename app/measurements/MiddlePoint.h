#pragma once

#include "ClickDistaceMeasurement.h"

#include <optional>

// "Средняя точка": a reference point midway between two clicked trace
// points; once placed, the distances can start or end on it.
class MiddlePoint : public ClickDistaceMeasurement
{
public:
    MiddlePoint(PlotWidget* plot, int traceCount);

    // Reads the clicked trace points anew, so the point follows the trace.
    void calculate() override;

private:
    void onRelease();

    std::optional<PointRef> m_firstSnap;
    std::optional<PointRef> m_secondSnap;
    int m_clickCount = 0;
};
