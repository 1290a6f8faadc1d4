#pragma once

#include "ClickDistaceMeasurement.h"

#include <optional>

// "Точка на трассе": a reference point on the clicked trace point. Until the
// click it follows the selection marker over the trace.
class ClickPoint : public ClickDistaceMeasurement
{
public:
    ClickPoint(PlotWidget* plot, int traceCount);

    // Reads the clicked trace point anew, so the point follows the trace.
    void calculate() override;

private:
    std::optional<PointRef> m_snap;
};
