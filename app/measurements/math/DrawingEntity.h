#pragma once

#include <QString>
#include <QVector>

namespace MeasurementMath {

// One entity of an imported drawing, in plot coordinates of the display unit.
// The tag names the kind and the layout of the parameters:
//   "AcDbLine":    x1, y1, x2, y2 (the two end points)
//   "AcDbCircle":  cx, cy, r, -1, -1 for a full circle, or cx, cy, r, s, e
//                  for an arc from s to e degrees counter-clockwise from the
//                  x axis, with 0 <= s < 360 and s < e <= s + 360
//   "AcDbEllipse": cx, cy, a, b (half-axes along x and y)
struct DrawingEntity
{
    QString tag;
    QVector<double> parameters;

    bool operator==(const DrawingEntity& other) const
    {
        return tag == other.tag && parameters == other.parameters;
    }
};

inline const QString kLineTag = QStringLiteral("AcDbLine");
inline const QString kCircleTag = QStringLiteral("AcDbCircle");
inline const QString kEllipseTag = QStringLiteral("AcDbEllipse");

inline bool isLine(const DrawingEntity& e)
{
    return e.tag == kLineTag && e.parameters.size() == 4;
}

inline bool isCircleOrArc(const DrawingEntity& e)
{
    return e.tag == kCircleTag && e.parameters.size() == 5;
}

// A circle entity with angles: its start angle is not negative.
inline bool isArc(const DrawingEntity& e)
{
    return isCircleOrArc(e) && e.parameters[3] >= 0;
}

inline bool isEllipse(const DrawingEntity& e)
{
    return e.tag == kEllipseTag && e.parameters.size() == 4;
}

inline DrawingEntity lineEntity(double x1, double y1, double x2, double y2)
{
    return {kLineTag, {x1, y1, x2, y2}};
}

inline DrawingEntity circleEntity(double cx, double cy, double r)
{
    return {kCircleTag, {cx, cy, r, -1, -1}};
}

// Angles are normalised as the layout above requires.
DrawingEntity arcEntity(double cx, double cy, double r, double startDegrees, double endDegrees);

inline DrawingEntity ellipseEntity(double cx, double cy, double a, double b)
{
    return {kEllipseTag, {cx, cy, a, b}};
}

// Start and end of an arc brought to 0 <= start < 360 and
// start < end <= start + 360 with the same swept points; an end equal to the
// start (modulo 360) means the whole turn.
void normaliseArcAngles(double& startDegrees, double& endDegrees);

} // namespace MeasurementMath
