#include "AdditionalGeometrySelection.h"

#include "CurveAccess.h"
#include "RangeProtocol.h"

#include <QMouseEvent>

AdditionalGeometrySelection::AdditionalGeometrySelection(int kind, PlotWidget* plot, const QString& name,
                                                         int traceCount)
    : Measurement(kind, plot, 0)
    , m_traceCount(traceCount)
    , m_name(name)
{
    setMoveRedraw(MoveRedraw::OwnLayer);
    addConnection(connect(plot, &QCustomPlot::mouseRelease, this, &AdditionalGeometrySelection::onPlotMouseRelease));
}

QString AdditionalGeometrySelection::groupName() const
{
    return measurementKind(type())->groupName;
}

void AdditionalGeometrySelection::updateSelectionMarker()
{
    plot()->setSelectionMarkerVisible(true);
}

void AdditionalGeometrySelection::prepareRangePick()
{
    RangeProtocol::prepareRangeSelection(plot(), m_traceCount);
    addReperPoints(1);
}

void AdditionalGeometrySelection::placeOnExtreme(MeasurementMath::Extreme extreme)
{
    if (!selectionsComplete())
        return;
    const CurveSpan span = selectionSpan(*selection(0));
    if (span.isEmpty())
        return;
    const auto point = MeasurementMath::extremePoint(span.first, span.last, extreme);
    setReperPoint(0, QPointF(point->key, point->value));
}

// The point is found once more from the range as released: a mouse move
// recalculates before the selection rectangle takes in that move, so the last
// calculation saw the range one move short.
void AdditionalGeometrySelection::onPlotMouseRelease(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    calculateAtRelease(event);
    lockSelection();
    forEachTraceCurve(plot(), m_traceCount, [](QCPCurve* curve) { curve->setSelectable(QCP::stSingleData); });
    plot()->replot(QCustomPlot::rpRefreshHint);
    finish();
}
