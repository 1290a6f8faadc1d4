#include "LayFlatMeasurement.h"

#include "Constants.h"
#include "CurveAccess.h"
#include "LayFlatLevelling.h"
#include "RangeProtocol.h"
#include "math/Levelling.h"

#include "Logger.h"

#include <QMouseEvent>

LayFlatMeasurement::LayFlatMeasurement(PlotWidget* plot, int traceCount)
    : Measurement(measurementKind(LAY_FLAT)->type, plot, 0)
    , m_traceCount(traceCount)
{
    setMoveRedraw(MoveRedraw::OwnLayer);
    addConnection(connect(plot, &QCustomPlot::mouseRelease, this, &LayFlatMeasurement::onPlotMouseRelease));
    RangeProtocol::prepareRangeSelection(plot, traceCount);
}

QString LayFlatMeasurement::name() const
{
    return measurementKind(LAY_FLAT)->name;
}

QString LayFlatMeasurement::valueText() const
{
    return kUnknownText;
}

void LayFlatMeasurement::calculate()
{
    if (!selectionsComplete())
        return;
    const CurveSpan span = selectionSpan(*selection(0));
    if (!span.isEmpty())
        m_fitter = Algos::RMS(span.first, span.last);
}

void LayFlatMeasurement::updateSelectionMarker()
{
    plot()->setSelectionMarkerVisible(false);
}

// The line is fitted once more to the range as released: a mouse move
// recalculates before the selection rectangle takes in that move.
void LayFlatMeasurement::onPlotMouseRelease(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    Logger::instance().log(INFO, "LayFlat released ");
    calculateAtRelease(event);
    lockSelection();
    if (!MeasurementMath::holdsLine(m_fitter))
        return;
    const double angle = LayFlatLevelling::angleOf(m_fitter);
    const QPointF centre = LayFlatLevelling::centreOf(*selection(0));
    LayFlatLevelling::rotateTraces(plot(), m_traceCount, angle, centre);
    finish();
    LayFlatLevelling::pickSinglePoints(plot(), m_traceCount);
    emit setNewAngleAndCenterRot(angle, centre);
    emit graphDataChanged();
    emit statusText(LayFlatLevelling::readyText(m_fitter));
}
