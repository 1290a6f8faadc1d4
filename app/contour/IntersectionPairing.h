#pragma once

#include <QList>
#include <QPointF>
#include <QString>

class Measurement;

// Where two construction measurements cross, computed with the first argument
// the measurement already listed and the second the one just finished.
using IntersectionRoutine = QList<QPointF> (*)(const Measurement* listed, const Measurement* finished);

// The routine that intersects two construction measurements of these display
// names, in either order: circles with circles and lines, vertical lines with
// the sloped ones, sloped lines with each other except two horizontal lines
// or two mean-diameter lines. Null for every other pair.
IntersectionRoutine intersectionRoutine(const QString& firstName, const QString& secondName);
