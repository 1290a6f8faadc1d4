#include "Dimension.h"

#include <cmath>

namespace MeasurementMath {

namespace {

struct Vector
{
    float x = 0;
    float y = 0;
};

Vector single(const QPointF& p)
{
    return {float(p.x()), float(p.y())};
}

QPointF point(const Vector& v)
{
    return QPointF(double(v.x), double(v.y));
}

Vector operator-(const Vector& a, const Vector& b)
{
    return {a.x - b.x, a.y - b.y};
}

Vector operator+(const Vector& a, const Vector& b)
{
    return {a.x + b.x, a.y + b.y};
}

Vector operator*(float s, const Vector& v)
{
    return {s * v.x, s * v.y};
}

float dot(const Vector& a, const Vector& b)
{
    return a.x * b.x + a.y * b.y;
}

float length(const Vector& v)
{
    return std::sqrt(dot(v, v));
}

// The zero vector stays the zero vector.
Vector normalized(const Vector& v)
{
    const float len = length(v);
    if (len == 0.0f)
        return {};
    return {v.x / len, v.y / len};
}

// Distance of p from the line through `through` with the unit direction
// `direction`; from the point itself when the direction is zero.
float distanceToLine(const Vector& p, const Vector& through, const Vector& direction)
{
    if (direction.x == 0.0f && direction.y == 0.0f)
        return length(p - through);
    const Vector foot = through + dot(p - through, direction) * direction;
    return length(p - foot);
}

float middle(float a, float b)
{
    return (a + b) / 2;
}

} // namespace

Dimension straightDimension(const QPointF& a, const QPointF& b, const QPointF& cursor)
{
    const Vector A = single(a);
    const Vector B = single(b);
    const Vector M = single(cursor);
    const Vector n = normalized({-(B.y - A.y), B.x - A.x});
    const Vector u = normalized(B - A);
    const float d = dot(n, M - A);
    float s = distanceToLine(M, A, u);
    if (d < 0)
        s = -s;
    const Vector start = A + s * n;
    const Vector end = B + s * n;

    Dimension dimension;
    dimension.extension1 = QLineF(point(A), point(start));
    dimension.extension2 = QLineF(point(B), point(end));
    dimension.dimensionLine = QLineF(point(start), point(end));
    dimension.value = double(length(B - A));
    dimension.alignment = d < 0 ? kAnchoredAtTop : kAnchoredAtBottom;
    dimension.labelPosition = dimension.dimensionLine.center();
    dimension.labelRotation = dimension.dimensionLine.angle();
    return dimension;
}

Dimension horizontalDimension(const QPointF& a, const QPointF& b, const QPointF& cursor)
{
    const Vector A = single(a);
    const Vector B = single(b);
    const float cy = float(cursor.y());

    Dimension dimension;
    dimension.extension1 = QLineF(point(A), point({A.x, cy}));
    dimension.extension2 = QLineF(point(B), point({B.x, cy}));
    dimension.dimensionLine = QLineF(point({A.x, cy}), point({B.x, cy}));
    dimension.value = double(std::abs(B.x - A.x));
    dimension.alignment = cy > A.y ? kAnchoredAtBottom : kAnchoredAtTop;
    dimension.labelPosition = point({middle(A.x, B.x), cy});
    dimension.labelRotation = 0;
    return dimension;
}

Dimension verticalDimension(const QPointF& a, const QPointF& b, const QPointF& cursor)
{
    const Vector A = single(a);
    const Vector B = single(b);
    const float cx = float(cursor.x());

    Dimension dimension;
    dimension.extension1 = QLineF(point(A), point({cx, A.y}));
    dimension.extension2 = QLineF(point(B), point({cx, B.y}));
    dimension.dimensionLine = QLineF(point({cx, A.y}), point({cx, B.y}));
    dimension.value = double(std::abs(B.y - A.y));
    dimension.alignment = cx < A.x ? kAnchoredAtTop : kAnchoredAtBottom;
    dimension.labelPosition = point({cx, middle(A.y, B.y)});
    dimension.labelRotation = 90;
    return dimension;
}

} // namespace MeasurementMath
