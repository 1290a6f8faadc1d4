#include "DrawingGeometry.h"

#include "Geometry.h"
#include "LengthUnit.h"

#include <algorithm>
#include <cmath>

namespace MeasurementMath {

namespace {

double distance(QPointF a, QPointF b)
{
    const double dx = a.x() - b.x();
    const double dy = a.y() - b.y();
    return std::sqrt(dx * dx + dy * dy);
}

bool between(double v, double a, double b)
{
    return std::min(a, b) <= v && v <= std::max(a, b);
}

QPointF pointAtAngle(QPointF centre, double radius, double degrees)
{
    const double a = degrees * Algos::kRadiansPerDegree;
    return centre + radius * QPointF(std::cos(a), std::sin(a));
}

QVector<QPointF> lineReperPoints(QPointF a, QPointF b)
{
    QVector<QPointF> points{a, b};
    if (a.x() != b.x()) {
        const double xmin = std::min(a.x(), b.x());
        const double xmax = std::max(a.x(), b.x());
        const double slope = (b.y() - a.y()) / (b.x() - a.x());
        for (int k = 0; k < 10; ++k) {
            const double x = xmin + k * (xmax - xmin) / 10;
            points.append(QPointF(x, a.y() + (x - a.x()) * slope));
        }
    } else {
        const QPointF lower = a.y() <= b.y() ? a : b;
        const QPointF upper = a.y() <= b.y() ? b : a;
        for (int k = 0; k < 10; ++k)
            points.append(lower + (upper - lower) * (k / 10.0));
    }
    return points;
}

// The four axis ends, then two points (below and above the centre) at each of
// eleven x positions from the left end to the right; halfHeight(dx) is the
// half-height of the outline at dx from the centre.
template <typename HalfHeight>
QVector<QPointF> ovalReperPoints(QPointF c, double a, double b, HalfHeight halfHeight)
{
    QVector<QPointF> points{QPointF(c.x(), c.y() + b), QPointF(c.x(), c.y() - b), QPointF(c.x() + a, c.y()),
                            QPointF(c.x() - a, c.y())};
    for (int k = 0; k <= 10; ++k) {
        const double x = c.x() - a + k * 2 * a / 10;
        const double h = halfHeight(x - c.x());
        points.append(QPointF(x, c.y() - h));
        points.append(QPointF(x, c.y() + h));
    }
    return points;
}

QVector<QPointF> arcReperPoints(QPointF c, double r, double s, double e)
{
    QVector<QPointF> points{pointAtAngle(c, r, s), pointAtAngle(c, r, e)};
    for (int k = 0; k <= 10; ++k)
        points.append(pointAtAngle(c, r, s + k * (e - s) / 10));
    return points;
}

// The points that bound the entity: a line's ends, the four axis ends of a
// circle or an ellipse, an arc's ends and the axis ends it passes.
QVector<QPointF> boundingPoints(const DrawingEntity& entity)
{
    const QVector<double>& p = entity.parameters;
    const QPointF c(p.value(0), p.value(1));
    if (isLine(entity))
        return {QPointF(p[0], p[1]), QPointF(p[2], p[3])};
    if (isArc(entity)) {
        QVector<QPointF> points{pointAtAngle(c, p[2], p[3]), pointAtAngle(c, p[2], p[4])};
        for (int k = 0; k < 8; ++k) {
            if (p[3] <= 90 * k && 90 * k <= p[4])
                points.append(pointAtAngle(c, p[2], 90 * k));
        }
        return points;
    }
    if (isCircleOrArc(entity) || isEllipse(entity)) {
        const double a = p[2];
        const double b = isEllipse(entity) ? p[3] : p[2];
        return {c + QPointF(a, 0), c - QPointF(a, 0), c + QPointF(0, b), c - QPointF(0, b)};
    }
    return {};
}

} // namespace

std::optional<QRectF> drawingBounds(const QVector<DrawingEntity>& entities)
{
    std::optional<QRectF> bounds;
    for (const DrawingEntity& entity : entities) {
        for (const QPointF& point : boundingPoints(entity)) {
            if (!bounds) {
                bounds = QRectF(point, point);
                continue;
            }
            bounds->setLeft(std::min(bounds->left(), point.x()));
            bounds->setRight(std::max(bounds->right(), point.x()));
            bounds->setTop(std::min(bounds->top(), point.y()));
            bounds->setBottom(std::max(bounds->bottom(), point.y()));
        }
    }
    return bounds;
}

QPointF footOfPerpendicular(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double t = QPointF::dotProduct(p - a, d) / QPointF::dotProduct(d, d);
    return a + t * d;
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF f = footOfPerpendicular(p, a, b);
    if (between(f.x(), a.x(), b.x()) && between(f.y(), a.y(), b.y()))
        return distance(p, f);
    return std::min(distance(p, a), distance(p, b));
}

double distanceToArc(QPointF p, QPointF centre, double radius, double startDegrees, double endDegrees)
{
    const double d = distance(p, centre);
    if (startDegrees < 0)
        return std::abs(d - radius);
    double theta = std::atan2(p.y() - centre.y(), p.x() - centre.x()) / Algos::kRadiansPerDegree;
    while (theta < startDegrees)
        theta += 360;
    while (theta > endDegrees)
        theta -= 360;
    if (startDegrees <= theta && theta <= endDegrees)
        return std::abs(d - radius);
    return std::min(distance(p, pointAtAngle(centre, radius, startDegrees)),
                    distance(p, pointAtAngle(centre, radius, endDegrees)));
}

double distanceToEntity(const DrawingEntity& entity, double x, double y)
{
    const QVector<double>& p = entity.parameters;
    if (isLine(entity))
        return distanceToSegment(QPointF(x, y), QPointF(p[0], p[1]), QPointF(p[2], p[3]));
    if (isCircleOrArc(entity))
        return distanceToArc(QPointF(x, y), QPointF(p[0], p[1]), p[2], p[3], p[4]);
    return kNoDrawingDistance;
}

double distanceToNearestEntity(const QVector<DrawingEntity>& entities, double x, double y)
{
    double best = kNoDrawingDistance;
    for (const DrawingEntity& entity : entities)
        best = std::min(best, distanceToEntity(entity, x, y));
    return best;
}

QVector<QPointF> entityReperPoints(const DrawingEntity& entity)
{
    const QVector<double>& p = entity.parameters;
    if (isLine(entity))
        return lineReperPoints(QPointF(p[0], p[1]), QPointF(p[2], p[3]));
    if (isArc(entity))
        return arcReperPoints(QPointF(p[0], p[1]), p[2], p[3], p[4]);
    if (isCircleOrArc(entity)) {
        const double r = p[2];
        return ovalReperPoints(QPointF(p[0], p[1]), r, r,
                               [r](double dx) { return std::sqrt(std::max(0.0, r * r - dx * dx)); });
    }
    if (isEllipse(entity)) {
        const double a = p[2];
        const double b = p[3];
        return ovalReperPoints(QPointF(p[0], p[1]), a, b, [a, b](double dx) {
            return std::sqrt(std::max(0.0, (1 - dx * dx / (a * a)) * b * b));
        });
    }
    return {};
}

double unitFactor(int axisUnit)
{
    return unitsPerMillimetre(axisUnit).value_or(1000000.0);
}

DrawingEntity translatedEntity(const DrawingEntity& entity, double dx, double dy)
{
    DrawingEntity moved = entity;
    QVector<double>& p = moved.parameters;
    if (p.size() < 2)
        return moved;
    p[0] += dx;
    p[1] += dy;
    if (isLine(moved)) {
        p[2] += dx;
        p[3] += dy;
    }
    return moved;
}

DrawingEntity rotatedEntity(const DrawingEntity& entity, QPointF centre, double degrees)
{
    DrawingEntity turnedEntity = entity;
    QVector<double>& p = turnedEntity.parameters;
    if (p.size() < 2)
        return turnedEntity;
    const double a = degrees * Algos::kRadiansPerDegree;
    const double cosA = std::cos(a);
    const double sinA = std::sin(a);
    const QPointF first = turnedPoint(QPointF(p[0], p[1]), centre, cosA, sinA);
    p[0] = first.x();
    p[1] = first.y();
    if (isLine(turnedEntity)) {
        const QPointF second = turnedPoint(QPointF(p[2], p[3]), centre, cosA, sinA);
        p[2] = second.x();
        p[3] = second.y();
    } else if (isArc(turnedEntity)) {
        p[3] += degrees;
        p[4] += degrees;
        normaliseArcAngles(p[3], p[4]);
    }
    return turnedEntity;
}

DrawingEntity scaledEntity(const DrawingEntity& entity, double factor)
{
    DrawingEntity scaled = entity;
    QVector<double>& p = scaled.parameters;
    const int count = isCircleOrArc(scaled) ? 3 : p.size();
    for (int i = 0; i < count; ++i)
        p[i] *= factor;
    return scaled;
}

} // namespace MeasurementMath
