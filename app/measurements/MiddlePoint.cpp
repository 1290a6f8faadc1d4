#include "MiddlePoint.h"

#include "math/ConstructionLines.h"

MiddlePoint::MiddlePoint(PlotWidget* plot, int traceCount)
    : ClickDistaceMeasurement(MIDDLE_POINT, plot, traceCount)
{
    setCoordinates({0, 0});
    addReperPoints(1);
    hideLine();
    onLeftRelease([this] { onRelease(); });
}

void MiddlePoint::onRelease()
{
    const PointRef snap = snapPointRef(plot());
    if (m_clickCount != 1) {
        ++m_clickCount;
        m_firstSnap = snap;
        emit statusText(QStringLiteral("Укажите вторую точку"));
        return;
    }
    m_secondSnap = snap;
    calculate();
    finish();
    makeReperPointsSelectable();
    emit measumentFinished();
}

void MiddlePoint::calculate()
{
    if (m_firstSnap && m_secondSnap)
        setReperPoint(0, MeasurementMath::midpoint(curvePointAt(*m_firstSnap), curvePointAt(*m_secondSnap)));
}
