#pragma once

#include "math/DrawingEntity.h"
#include "math/DrawingIndex.h"

#include <QPointF>
#include <QPointer>
#include <QVector>

class QCPAbstractItem;

// The one store of imported drawing entities, shared by every drawing
// comparison and read by the deviation from the drawing: the entities in plot
// coordinates and, parallel to them, the plot items that draw them (owned by
// the plot). The nearest-entity distance goes through a spatial index, built
// again at the first query after any change. GUI thread only.
class DxfDrawing
{
public:
    static DxfDrawing& instance();

    int entityCount() const { return m_entities.size(); }
    bool isEmpty() const { return m_entities.isEmpty(); }
    const QVector<MeasurementMath::DrawingEntity>& entities() const { return m_entities; }
    // The item of entity i; null when its plot deleted it.
    QCPAbstractItem* item(int i) const;

    void append(const MeasurementMath::DrawingEntity& entity, QCPAbstractItem* item);
    // New parameters for every entity at once, as many as there are; the
    // items are not touched.
    void replaceEntities(const QVector<MeasurementMath::DrawingEntity>& entities);
    // Removes every item from its plot and empties the store.
    void clear();

    // What a millimetre of the drawing is in its plot coordinates: the unit
    // factor the entities were read or last rescaled with.
    double unitFactor() const { return m_unitFactor; }
    void setUnitFactor(double factor) { m_unitFactor = factor; }

    // From (x, y) to the nearest line, circle or arc; 1e100 without any.
    double distanceToNearestEntity(double x, double y);
    // The sum of that distance over the finite points.
    double summedDistance(const QVector<QPointF>& points);

private:
    DxfDrawing() = default;
    const MeasurementMath::DrawingIndex& index();

    QVector<MeasurementMath::DrawingEntity> m_entities;
    QVector<QPointer<QCPAbstractItem>> m_items;
    MeasurementMath::DrawingIndex m_index;
    bool m_indexCurrent = true;
    double m_unitFactor = 1;
};
