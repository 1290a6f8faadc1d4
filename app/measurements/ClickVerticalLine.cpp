#include "ClickVerticalLine.h"

#include "math/ConstructionLines.h"

using namespace MeasurementMath;

ClickVerticalLine::ClickVerticalLine(PlotWidget* plot, int traceCount)
    : ClickDistaceMeasurement(VERTICAL_LINE, plot, traceCount)
{
    setCoordinates({0, 0});
    onLeftRelease([this] {
        m_snap = snapPointRef(this->plot());
        calculate();
        finishAndAnnounce();
    });
}

ClickVerticalLine::ClickVerticalLine(PlotWidget* plot, const QVector<double>& coordinates)
    : ClickDistaceMeasurement(VERTICAL_LINE, plot)
{
    setCoordinates(coordinates);
    setLinePoints(verticalLineOfCoordinates(coordinates.value(0), coordinates.value(1)));
    finishAndAnnounce();
}

void ClickVerticalLine::calculate()
{
    if (!m_snap)
        return;
    const double x = curvePointAt(*m_snap).x();
    setCoordinates({0, x});
    setLinePoints(verticalLineThrough(x));
}
