#include "ClickHorizontalLine.h"

#include "math/ConstructionLines.h"

using namespace MeasurementMath;

ClickHorizontalLine::ClickHorizontalLine(PlotWidget* plot, int traceCount)
    : ClickDistaceMeasurement(HORIZONTAL_LINE, plot, traceCount)
{
    setCoordinates({0, 0});
    finishAtRelease(m_snap);
}

ClickHorizontalLine::ClickHorizontalLine(PlotWidget* plot, const QVector<double>& coordinates)
    : ClickDistaceMeasurement(HORIZONTAL_LINE, plot)
{
    finishAsBuilt(coordinates, horizontalLineThrough(coordinates.value(1)));
}

void ClickHorizontalLine::calculate()
{
    if (!m_snap)
        return;
    const double y = curvePointAt(*m_snap).y();
    setCoordinates({0, y});
    setLinePoints(horizontalLineThrough(y));
}
