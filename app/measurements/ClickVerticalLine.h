#pragma once

#include "ClickDistaceMeasurement.h"

#include <optional>

// "Вертикальная прямая": the vertical line through the clicked trace point,
// coordinates {0, x}.
class ClickVerticalLine : public ClickDistaceMeasurement
{
public:
    // Placed by the click whose press created it; finishes at the release.
    ClickVerticalLine(PlotWidget* plot, int traceCount);
    // The finished line x = c0·y + c1 (an equidistant). It stays as built.
    ClickVerticalLine(PlotWidget* plot, const QVector<double>& coordinates);

    // Reads the clicked trace point anew, so the line follows the trace.
    void calculate() override;

private:
    std::optional<PointRef> m_snap;
};
