#include "PlotSelectionRect.h"

#include "PlotWidget.h"

PlotSelectionRect::PlotSelectionRect(QCustomPlot* parentPlot)
    : QCPSelectionRect(parentPlot)
{
}

void PlotSelectionRect::setStart(QCPCurve* curve, const QPoint& point)
{
    m_startCurve = curve;
    m_startPoint = point;
    m_lastIndex = -1;
}

void PlotSelectionRect::startSelection(QMouseEvent* event)
{
    m_startCurve = nullptr;
    m_lastIndex = -1;
    QCPSelectionRect::startSelection(event);
}

// While the plot shows its selection marker, a range selection shows itself
// only through the selected points, so the rectangle stays unpainted.
void PlotSelectionRect::draw(QCPPainter* painter)
{
    const auto* plot = qobject_cast<PlotWidget*>(mParentPlot);
    if (plot && plot->hasSelectionMarker())
        return;
    QCPSelectionRect::draw(painter);
}
