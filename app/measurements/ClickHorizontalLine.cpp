#include "ClickHorizontalLine.h"

#include "math/ConstructionLines.h"

using namespace MeasurementMath;

ClickHorizontalLine::ClickHorizontalLine(PlotWidget* plot, int traceCount)
    : ClickDistaceMeasurement(HORIZONTAL_LINE, plot, traceCount)
{
    setCoordinates({0, 0});
    onLeftRelease([this] {
        m_snap = snapPointRef(this->plot());
        calculate();
        finishAndAnnounce();
    });
}

ClickHorizontalLine::ClickHorizontalLine(PlotWidget* plot, const QVector<double>& coordinates)
    : ClickDistaceMeasurement(HORIZONTAL_LINE, plot)
{
    setCoordinates(coordinates);
    setLinePoints(horizontalLineThrough(coordinates.value(1)));
    finishAndAnnounce();
}

void ClickHorizontalLine::calculate()
{
    if (!m_snap)
        return;
    const double y = curvePointAt(*m_snap).y();
    setCoordinates({0, y});
    setLinePoints(horizontalLineThrough(y));
}
