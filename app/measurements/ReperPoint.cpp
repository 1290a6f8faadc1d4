#include "ReperPoint.h"

#include "Measurement.h"
#include "MeasurementLayers.h"
#include "PickCurve.h"

#include "DrawingConstants.h"

#include "plot/PlotWidget.h"

namespace {

constexpr double kMarkerSize = 7;

QCPItemTracer* createMarker(PlotWidget* plot, QCPLayer* layer)
{
    auto* marker = new QCPItemTracer(plot);
    marker->setLayer(layer);
    marker->setStyle(QCPItemTracer::tsPlus);
    marker->setPen(kMagentaDashPen);
    marker->setBrush(QBrush(Qt::red, Qt::SolidPattern));
    marker->setSize(kMarkerSize);
    marker->setVisible(false);
    return marker;
}

// A pick curve has no name and draws nothing, so it stays out of the legend;
// the legend's bookkeeping would also make adding thousands of them quadratic.
PickCurve* createPickCurve(PlotWidget* plot)
{
    const bool addsToLegend = plot->autoAddPlottableToLegend();
    plot->setAutoAddPlottableToLegend(false);
    auto* curve = new PickCurve(plot->xAxis, plot->yAxis);
    plot->setAutoAddPlottableToLegend(addsToLegend);
    curve->setSelectable(QCP::stNone);
    return curve;
}

} // namespace

ReperPoint::ReperPoint(PlotWidget* plot, Measurement* owner)
    : m_measurement(owner)
    , m_plot(plot)
{
    if (!plot)
        return;
    const bool placing = owner && !owner->isFinished();
    m_marker = createMarker(plot, placing ? MeasurementLayers::editing(plot) : MeasurementLayers::settled(plot));
    m_pickCurve = createPickCurve(plot);
}

ReperPoint::~ReperPoint()
{
    if (!m_plot)
        return;
    if (m_marker)
        m_plot->removeItem(m_marker);
    if (m_pickCurve)
        m_plot->removePlottable(m_pickCurve);
}

void ReperPoint::setPosition(const QPointF& p)
{
    m_position = p;
    if (m_marker)
        m_marker->position->setCoords(p);
    if (m_pickCurve) {
        if (!m_pickCurve->data()->isEmpty())
            m_pickCurve->data()->clear();
        m_pickCurve->addData(p.x(), p.y());
    }
}

bool ReperPoint::setHighlighted(bool on)
{
    const bool before = m_highlighted;
    m_highlighted = on;
    return before;
}

void ReperPoint::setMarkerVisible(bool visible)
{
    if (m_marker)
        m_marker->setVisible(visible);
}

void ReperPoint::setMarkerLayer(QCPLayer* layer)
{
    if (m_marker && layer)
        m_marker->setLayer(layer);
}

void ReperPoint::setSelectable()
{
    if (m_pickCurve)
        m_pickCurve->setSelectable(QCP::stWhole);
}

void ReperPoint::setUnselectable()
{
    if (m_pickCurve)
        m_pickCurve->setSelectable(QCP::stNone);
}

QCPItemTracer* ReperPoint::marker() const
{
    return m_marker;
}

PickCurve* ReperPoint::pickCurve() const
{
    return m_pickCurve;
}
