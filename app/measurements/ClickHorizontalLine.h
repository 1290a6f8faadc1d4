#pragma once

#include "ClickDistaceMeasurement.h"

#include <optional>

// "Горизонтальная прямая": the horizontal line through the clicked trace
// point, coordinates {0, y}.
class ClickHorizontalLine : public ClickDistaceMeasurement
{
public:
    // Placed by the click whose press created it; finishes at the release.
    ClickHorizontalLine(PlotWidget* plot, int traceCount);
    // The finished line y = c1 (an equidistant); c0 is 0 for every
    // horizontal line. It stays as built.
    ClickHorizontalLine(PlotWidget* plot, const QVector<double>& coordinates);

    // Reads the clicked trace point anew, so the line follows the trace.
    void calculate() override;

private:
    std::optional<PointRef> m_snap;
};
