#pragma once

#include "ClickDistaceMeasurement.h"
#include "math/SlopedLine.h"

#include <optional>

// "Прямая по двум точкам": the line through two clicked trace points,
// coordinates {k, b} of y = k·x + b. After the first click the line follows
// the selection marker as a preview.
class ClickDoubleLine : public ClickDistaceMeasurement
{
public:
    // The click whose press created it is the first; a second click at the
    // first one's key, which gives no line, is ignored.
    ClickDoubleLine(PlotWidget* plot, int traceCount);
    // The finished line y = c0·x + c1 (an equidistant), drawn far beyond the
    // plot's curves to both sides of x = 0. It stays as built.
    ClickDoubleLine(PlotWidget* plot, const QVector<double>& coordinates);

    // Reads the clicked trace points anew, so the line follows the trace.
    void calculate() override;

private:
    void onRelease();
    void drawLine(const MeasurementMath::SlopedLine& line);
    // The line through both snapped points; none before both were taken, nor
    // for two points at one key.
    std::optional<MeasurementMath::SlopedLine> snappedLine() const;

    std::optional<PointRef> m_firstSnap;
    std::optional<PointRef> m_secondSnap;
    int m_clickCount = 0;
};
