#include "ClickVerticalLine.h"

#include "math/ConstructionLines.h"

using namespace MeasurementMath;

ClickVerticalLine::ClickVerticalLine(PlotWidget* plot, int traceCount)
    : ClickDistaceMeasurement(VERTICAL_LINE, plot, traceCount)
{
    setCoordinates({0, 0});
    finishAtRelease(m_snap);
}

ClickVerticalLine::ClickVerticalLine(PlotWidget* plot, const QVector<double>& coordinates)
    : ClickDistaceMeasurement(VERTICAL_LINE, plot)
{
    finishAsBuilt(coordinates, verticalLineOfCoordinates(coordinates.value(0), coordinates.value(1)));
}

void ClickVerticalLine::calculate()
{
    if (!m_snap)
        return;
    const double x = curvePointAt(*m_snap).x();
    setCoordinates({0, x});
    setLinePoints(verticalLineThrough(x));
}
