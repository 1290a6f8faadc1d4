#pragma once

#include "DrawingEntity.h"

#include <QPointF>
#include <QRectF>
#include <QVector>

#include <optional>

namespace MeasurementMath {

// What the distance to a drawing is when there is nothing to be near.
constexpr double kNoDrawingDistance = 1e100;

// The orthogonal projection of p on the line through a and b; not finite when
// a and b coincide.
QPointF footOfPerpendicular(QPointF p, QPointF a, QPointF b);

// From p to the segment ab: to the foot of the perpendicular when it falls in
// the segment's bounding box, otherwise to the nearer end.
double distanceToSegment(QPointF p, QPointF a, QPointF b);

// From p to a full circle (start negative) or to an arc from start to end
// degrees (0 <= start < end <= start + 360).
double distanceToArc(QPointF p, QPointF centre, double radius, double startDegrees, double endDegrees);

// From (x, y) to one entity: a line or a circle or arc; none for an ellipse
// (nothing is measured against ellipses), then the result is
// kNoDrawingDistance.
double distanceToEntity(const DrawingEntity& entity, double x, double y);

// The smallest distance to any entity by walking them all;
// kNoDrawingDistance without any.
double distanceToNearestEntity(const QVector<DrawingEntity>& entities, double x, double y);

// The extent of the entities, whole circles and ellipses, arcs as far as
// they reach: left and right the smallest and largest x, top and bottom the
// smallest and largest y. None without any line, circle, arc or ellipse.
std::optional<QRectF> drawingBounds(const QVector<DrawingEntity>& entities);

// The points of an entity a user can snap to: 12 for a line (both ends, then
// ten along it), 26 for a circle or an ellipse (the four axis ends, then two at
// each of eleven x positions across it), 13 for an arc (both ends, then eleven
// along it).
QVector<QPointF> entityReperPoints(const DrawingEntity& entity);

// The display unit's worth of a millimetre as the drawings take it: 1 for
// axis unit 0, 1000 for 1, 1000000 for any other value.
double unitFactor(int axisUnit);

// p turned about centre by the angle whose cosine and sine are given.
inline QPointF turnedPoint(QPointF p, QPointF centre, double cosA, double sinA)
{
    const QPointF d = p - centre;
    return centre + QPointF(d.x() * cosA - d.y() * sinA, d.x() * sinA + d.y() * cosA);
}

// The entity moved, turned about a centre (arcs keep their angles normalised,
// ellipses keep their axes), or scaled about the origin (the angles of arcs
// unchanged).
DrawingEntity translatedEntity(const DrawingEntity& entity, double dx, double dy);
DrawingEntity rotatedEntity(const DrawingEntity& entity, QPointF centre, double degrees);
DrawingEntity scaledEntity(const DrawingEntity& entity, double factor);

} // namespace MeasurementMath
