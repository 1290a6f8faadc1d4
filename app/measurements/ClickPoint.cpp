#include "ClickPoint.h"

ClickPoint::ClickPoint(PlotWidget* plot, int traceCount)
    : ClickDistaceMeasurement(TRACE_POINT, plot, traceCount)
{
    hideLine();
    addReperPoints(1);
    onMouseMove([this] {
        m_snap = snapPointRef(this->plot());
        setReperPoint(0, curvePointAt(*m_snap));
    });
    finishAtRelease(m_snap);
}

void ClickPoint::calculate()
{
    if (m_snap)
        setReperPoint(0, curvePointAt(*m_snap));
}
