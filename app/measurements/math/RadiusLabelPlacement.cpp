#include "RadiusLabelPlacement.h"

#include "PlotObstacles.h"

#include <cmath>

namespace MeasurementMath {

namespace {

// Arrows within about 11 degrees of the horizontal have the label above them,
// all others to their right.
constexpr double kLevelSine = 0.2;

} // namespace

RadiusLabelPlace radiusLabelPlace(const QLineF& arrow, const QPointF& anchor, const QSizeF& size, double clearance)
{
    const QRectF above(anchor.x() - size.width() / 2, anchor.y() - size.height(), size.width(), size.height());
    const double length = arrow.length();
    if (!(length > 0) || !segmentMeetsRect(arrow, above.adjusted(-clearance, -clearance, clearance, clearance)))
        return {above, false};
    const QPointF direction = (arrow.p2() - arrow.p1()) / length;
    QPointF normal(direction.y(), -direction.x());
    const bool nearlyLevel = std::abs(normal.x()) < kLevelSine;
    if (nearlyLevel ? normal.y() > 0 : normal.x() < 0)
        normal = -normal;
    // How far the rectangle reaches from its centre along the normal.
    const double reach = (std::abs(normal.x()) * size.width() + std::abs(normal.y()) * size.height()) / 2;
    QRectF beside(QPointF(), size);
    beside.moveCenter(anchor + normal * (clearance + reach));
    return {beside, true};
}

} // namespace MeasurementMath
