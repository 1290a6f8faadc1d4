#pragma once

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace MeasurementMath {

// The rectangle of a radius's value label, in pixels (y grows downwards). The
// label stands centred on the anchor (the cursor), above it, as long as that
// keeps it at least clearance away from the arrow; otherwise it moves off the
// arrow's line to its right (above an arrow within about 11 degrees of the
// horizontal), its nearest corner or side clearance away from the line, level
// with the anchor along it. An arrow of no length keeps the label on the
// anchor.
struct RadiusLabelPlace
{
    QRectF rect;
    // False while the label stands above the anchor.
    bool besideArrow = false;
};

RadiusLabelPlace radiusLabelPlace(const QLineF& arrow, const QPointF& anchor, const QSizeF& size, double clearance);

} // namespace MeasurementMath
