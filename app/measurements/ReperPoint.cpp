#include "ReperPoint.h"

#include "Constants.h"

#include "plot/PlotCurve.h"
#include "plot/PlotWidget.h"

namespace {

const QString kMarkerLayer = QStringLiteral("overlay");
constexpr double kMarkerSize = 7;

} // namespace

ReperPoint::ReperPoint(PlotWidget* plot, Measurement* owner)
    : m_measurement(owner)
    , m_plot(plot)
{
    if (!plot)
        return;
    m_marker = new QCPItemTracer(plot);
    m_marker->setLayer(kMarkerLayer);
    m_marker->setSize(kMarkerSize);
    m_marker->setVisible(false);
    applyLook();

    m_pickCurve = new PlotCurve(plot->xAxis, plot->yAxis);
    m_pickCurve->setSelectable(QCP::stNone);
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
    if (on != before) {
        m_highlighted = on;
        applyLook();
    }
    return before;
}

void ReperPoint::applyLook()
{
    if (!m_marker)
        return;
    if (m_highlighted) {
        m_marker->setStyle(QCPItemTracer::tsCircle);
        m_marker->setPen(kGreenPen);
        m_marker->setBrush(QBrush(Qt::green, Qt::SolidPattern));
    } else {
        m_marker->setStyle(QCPItemTracer::tsPlus);
        m_marker->setPen(kMagentaDashPen);
        m_marker->setBrush(QBrush(Qt::red, Qt::SolidPattern));
    }
}

void ReperPoint::setMarkerVisible(bool visible)
{
    if (m_marker)
        m_marker->setVisible(visible);
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

PlotCurve* ReperPoint::pickCurve() const
{
    return m_pickCurve;
}
