#include "LayFlatByTwoMeasurement.h"

#include "Constants.h"
#include "CurveAccess.h"
#include "LayFlatLevelling.h"
#include "RangeProtocol.h"
#include "math/Levelling.h"

#include "Logger.h"

#include <QDebug>
#include <QMouseEvent>

LayFlatByTwoMeasurement::LayFlatByTwoMeasurement(PlotWidget* plot, int traceCount, double* angle, QPointF* centre)
    : Measurement(measurementKind(LAY_FLAT_BY_TWO)->type, plot, 0)
    , m_traceCount(traceCount)
    , m_angle(angle ? angle : &m_ownAngle)
    , m_centre(centre ? centre : &m_ownCentre)
{
    setMoveRedraw(MoveRedraw::OwnLayer);
    addConnection(connect(plot, &QCustomPlot::mouseRelease, this, &LayFlatByTwoMeasurement::onPlotMouseRelease));
    RangeProtocol::prepareRangeSelection(plot, traceCount);
}

QString LayFlatByTwoMeasurement::name() const
{
    return measurementKind(LAY_FLAT_BY_TWO)->name;
}

QString LayFlatByTwoMeasurement::valueText() const
{
    return kUnknownText;
}

void LayFlatByTwoMeasurement::calculate()
{
    if (!selectionsComplete() || selectionCount() != 2) {
        emit statusText(QStringLiteral("Выделите две линии"));
        return;
    }
    const CurveSpan first = selectionSpan(*selection(0));
    const CurveSpan second = selectionSpan(*selection(1));
    if (!first.isEmpty() && !second.isEmpty())
        m_fitter = Algos::RMS(first.first, first.last, second.first, second.last);
}

// The line is fitted once more to the ranges as released: a mouse move
// recalculates before the selection rectangle takes in that move.
void LayFlatByTwoMeasurement::onPlotMouseRelease(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    Logger::instance().log(INFO, "LayFlatByTwo released ");
    calculateAtRelease(event);
    if (selectionCount() < 2) {
        startNextSelection();
        return;
    }
    lockSelection();
    plot()->replot(QCustomPlot::rpRefreshHint);
    if (MeasurementMath::holdsLine(m_fitter))
        level();
    else
        qDebug() << "Invalid RMS";
}

void LayFlatByTwoMeasurement::level()
{
    *m_angle = LayFlatLevelling::angleOf(m_fitter);
    *m_centre = LayFlatLevelling::centreOf(*selection(0));
    LayFlatLevelling::rotateTraces(plot(), m_traceCount, *m_angle, *m_centre);
    finish();
    LayFlatLevelling::pickSinglePoints(plot(), m_traceCount);
    emit setNewAngleAndCenterRot(*m_angle, *m_centre);
    emit graphDataChanged();
    emit statusText(LayFlatLevelling::readyText(m_fitter));
}
