#include "AngleGeometry.h"

#include "Intersections.h"

#include <cmath>
#include <limits>

namespace MeasurementMath {

namespace {

constexpr float kBehindVertex = 0.2f;
constexpr float kBeyondVertex = 1.1f;
constexpr double kDirectionScale = 10;

bool isNearZero(double value)
{
    return std::abs(value) <= 0.000000000001;
}

float dot(const FloatVector& a, const FloatVector& b)
{
    return a.x * b.x + a.y * b.y;
}

float length(const FloatVector& v)
{
    return float(std::sqrt(double(v.x) * double(v.x) + double(v.y) * double(v.y)));
}

FloatVector opposite(const FloatVector& v)
{
    return {-v.x, -v.y};
}

FloatVector towardCursor(const FloatVector& direction, const FloatVector& toCursor)
{
    return dot(direction, toCursor) < 0 ? opposite(direction) : direction;
}

QLineF fromOrigin(const FloatVector& v)
{
    return QLineF(0, 0, v.x, v.y);
}

// The line through the vertex along the direction, as far behind and beyond
// it as the radius says.
QLineF constructionLine(const FloatVector& vertex, const FloatVector& direction, float radius)
{
    const float behind = kBehindVertex * radius;
    const float beyond = kBeyondVertex * radius;
    return QLineF(vertex.x - behind * direction.x, vertex.y - behind * direction.y, vertex.x + beyond * direction.x,
                  vertex.y + beyond * direction.y);
}

} // namespace

FloatVector normalized(const FloatVector& v)
{
    const double squared = double(v.x) * double(v.x) + double(v.y) * double(v.y);
    if (isNearZero(squared - 1.0f))
        return v;
    if (isNearZero(squared))
        return {};
    const double root = std::sqrt(squared);
    return {float(double(v.x) / root), float(double(v.y) / root)};
}

FloatVector directionOfSlope(double k)
{
    const double rise = kDirectionScale * k;
    if (std::abs(rise) > std::numeric_limits<float>::max())
        return {0, std::signbit(k) ? -1.0f : 1.0f};
    return normalized({float(kDirectionScale), float(rise)});
}

FloatVector horizontalDirection()
{
    return normalized({float(kDirectionScale), 0});
}

FloatVector verticalDirection()
{
    return normalized({0, float(kDirectionScale)});
}

std::optional<QPointF> vertexOf(const SlopedLine& first, const SlopedLine& second)
{
    const QList<QPointF> points = intersectSlopedLines(first, second);
    if (points.isEmpty())
        return std::nullopt;
    return points.first();
}

AngleDrawing drawAngle(const QPointF& vertex, FloatVector first, FloatVector second, const QPointF& cursor)
{
    const FloatVector p{float(vertex.x()), float(vertex.y())};
    const FloatVector c{float(cursor.x()), float(cursor.y())};
    const FloatVector toCursor{c.x - p.x, c.y - p.y};
    const float radius = length(toCursor);

    const FloatVector u = normalized(toCursor);
    first = towardCursor(first, u);
    second = towardCursor(second, u);

    const QLineF line1 = fromOrigin(first);
    const QLineF line2 = fromOrigin(second);
    const double fromHorizontal = line1.angleTo(QLineF(0, 0, 1, 0));
    double opening = line1.angleTo(line2);
    if (opening > 180)
        opening = -line2.angleTo(line1);

    AngleDrawing drawing;
    drawing.angle = std::abs(opening);
    drawing.startAngle = int(16 * fromHorizontal);
    drawing.spanAngle = int(-16 * opening);
    drawing.radius = radius;
    drawing.arcTopLeft = QPointF(vertex.x() - radius, vertex.y() - radius);
    drawing.arcBottomRight = QPointF(vertex.x() + radius, vertex.y() + radius);
    drawing.labelPosition = QPointF(c.x, c.y);
    drawing.firstLine = constructionLine(p, first, radius);
    drawing.secondLine = constructionLine(p, second, radius);
    return drawing;
}

} // namespace MeasurementMath
