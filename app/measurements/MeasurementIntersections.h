#pragma once

#include <QList>
#include <QPointF>

class Measurement;

// Where two construction measurements cross, in plot data coordinates. The
// primitives are told apart by their display names ("Окружность",
// "Вертикальная прямая", the sloped lines) and read through CirclePrimitive and
// LinePrimitive; a measurement that does not offer the primitive its name
// promises, or a null one, meets nothing. Which pairs are intersected is the
// measurements manager's choice.

// Two circles.
QList<QPointF> intersectCircleCircle(const Measurement* first, const Measurement* second);

// A vertical line and a sloped line, in either order.
QList<QPointF> intersectLineLine(const Measurement* first, const Measurement* second);

// A vertical line and a circle, in either order.
QList<QPointF> intersectLineCircle(const Measurement* first, const Measurement* second);

// A sloped line and a circle, in either order.
QList<QPointF> intersectCircleLine(const Measurement* first, const Measurement* second);

// Two sloped lines.
QList<QPointF> intersectPointLines(const Measurement* first, const Measurement* second);
