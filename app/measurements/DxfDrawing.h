#pragma once

#include "math/DrawingEntity.h"
#include "math/DrawingIndex.h"

#include <QPointF>
#include <QPointer>
#include <QVector>

class QCPAbstractItem;

// The store of the drawing of one contour tab, filled by the tab's drawing
// comparisons and read by its deviations from the drawing: the entities in
// plot coordinates and, parallel to them, the plot items that draw them
// (owned by the plot). The tab's measurements manager owns it, so it outlives
// the measurements that use it. The nearest-entity distance goes through a
// spatial index, built again at the first query after any change. GUI thread
// only.
class DxfDrawing
{
public:
    DxfDrawing() = default;
    DxfDrawing(const DxfDrawing&) = delete;
    DxfDrawing& operator=(const DxfDrawing&) = delete;

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
    double distanceToNearestEntity(double x, double y) const;
    // The sum of that distance over the finite points.
    double summedDistance(const QVector<QPointF>& points) const;
    // The index of the entities as they stand, valid until the next change.
    const MeasurementMath::DrawingIndex& index() const;

private:

    QVector<MeasurementMath::DrawingEntity> m_entities;
    QVector<QPointer<QCPAbstractItem>> m_items;
    mutable MeasurementMath::DrawingIndex m_index;
    mutable bool m_indexCurrent = true;
    double m_unitFactor = 1;
};
