#include "ReperPoint.h"

#include "PickCurve.h"

ReperPoint::ReperPoint(PickCurve* curve, Measurement* owner)
    : m_measurement(owner)
    , m_curve(curve)
{
    if (curve)
        m_index = curve->addPoint(this);
}

ReperPoint::~ReperPoint()
{
    if (m_curve)
        m_curve->removePoint(m_index);
}

void ReperPoint::setPosition(const QPointF& p)
{
    m_position = p;
    if (m_curve)
        m_curve->setPosition(m_index, p);
}

bool ReperPoint::setHighlighted(bool on)
{
    const bool before = m_highlighted;
    m_highlighted = on;
    return before;
}

void ReperPoint::setMarkerVisible(bool visible)
{
    if (m_curve)
        m_curve->setMarkerVisible(m_index, visible);
}

bool ReperPoint::isMarkerVisible() const
{
    return m_curve && m_curve->isMarkerVisible(m_index);
}

QCPLayer* ReperPoint::markerLayer() const
{
    return m_curve ? m_curve->layer() : nullptr;
}

void ReperPoint::setSelectable()
{
    if (m_curve)
        m_curve->setPointSelectable(m_index, true);
}

void ReperPoint::setUnselectable()
{
    if (m_curve)
        m_curve->setPointSelectable(m_index, false);
}

bool ReperPoint::isSelectable() const
{
    return m_curve && m_curve->isPointSelectable(m_index);
}

PickCurve* ReperPoint::pickCurve() const
{
    return m_curve;
}
