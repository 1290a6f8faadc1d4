#include "DxfDrawing.h"

#include <qcustomplot.h>

using namespace MeasurementMath;

QCPAbstractItem* DxfDrawing::item(int i) const
{
    return i >= 0 && i < m_items.size() ? m_items.at(i).data() : nullptr;
}

void DxfDrawing::append(const DrawingEntity& entity, QCPAbstractItem* item)
{
    m_entities.append(entity);
    m_items.append(item);
    m_indexCurrent = false;
}

void DxfDrawing::replaceEntities(const QVector<DrawingEntity>& entities)
{
    if (entities.size() != m_entities.size())
        return;
    m_entities = entities;
    m_indexCurrent = false;
}

void DxfDrawing::clear()
{
    for (const QPointer<QCPAbstractItem>& item : qAsConst(m_items)) {
        if (item)
            item->parentPlot()->removeItem(item);
    }
    m_items.clear();
    m_entities.clear();
    m_indexCurrent = false;
}

const DrawingIndex& DxfDrawing::index() const
{
    if (!m_indexCurrent) {
        m_index = DrawingIndex(m_entities);
        m_indexCurrent = true;
    }
    return m_index;
}

double DxfDrawing::distanceToNearestEntity(double x, double y) const
{
    return index().distanceToNearest(x, y);
}

double DxfDrawing::summedDistance(const QVector<QPointF>& points) const
{
    return MeasurementMath::summedDistance(points, index());
}
