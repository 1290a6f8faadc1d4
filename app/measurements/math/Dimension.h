#pragma once

#include <QLineF>
#include <QPointF>
#include <Qt>

namespace MeasurementMath {

// A length drawn as a dimension: an extension line from each measured point
// to the dimension line, the dimension line between them (arrow heads at both
// ends) and a label on it. Coordinates are in plot units.
struct Dimension
{
    QLineF extension1;
    QLineF extension2;
    QLineF dimensionLine;
    double value = 0;
    // Position alignment of the label (kAnchoredAtBottom or kAnchoredAtTop),
    // putting it on the cursor's side of the dimension line.
    int alignment = 0;
    QPointF labelPosition;
    // Degrees, as QCPItemText::setRotation takes them.
    double labelRotation = 0;
};

// Label alignments: anchored at the label's bottom centre, so that it sits
// above the point it is placed at, or at its top centre, below the point.
constexpr int kAnchoredAtBottom = Qt::AlignHCenter | Qt::AlignBottom;
constexpr int kAnchoredAtTop = Qt::AlignHCenter | Qt::AlignTop;

// The straight distance from a to b (a the left point), with the dimension
// line parallel to ab through the cursor's side. Computed in single precision
// throughout; two equal points give 0 and a dimension collapsed onto them.
Dimension straightDimension(const QPointF& a, const QPointF& b, const QPointF& cursor);

// The horizontal distance of a and b, with the dimension line at the cursor's
// height.
Dimension horizontalDimension(const QPointF& a, const QPointF& b, const QPointF& cursor);

// The vertical distance of a and b, with the dimension line at the cursor's x
// and the label turned by 90 degrees.
Dimension verticalDimension(const QPointF& a, const QPointF& b, const QPointF& cursor);

} // namespace MeasurementMath
