#pragma once

#include "measurements/math/DrawingEntity.h"

#include <QLineF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cmath>

// The points every step along the polyline through the corners, the corners
// included.
inline QVector<QPointF> sampled(const QVector<QPointF>& corners, double step)
{
    QVector<QPointF> points;
    for (int i = 0; i + 1 < corners.size(); ++i) {
        const QLineF edge(corners.at(i), corners.at(i + 1));
        const int n = int(std::round(edge.length() / step));
        for (int k = 0; k < n; ++k)
            points.append(edge.pointAt(double(k) / n));
    }
    points.append(corners.last());
    return points;
}

// The entities as "tag(numbers)", for a failure message.
inline QString describe(const QVector<MeasurementMath::DrawingEntity>& entities)
{
    QStringList parts;
    for (const MeasurementMath::DrawingEntity& e : entities) {
        QStringList numbers;
        for (double p : e.parameters)
            numbers.append(QString::number(p, 'g', 10));
        parts.append(e.tag + QLatin1Char('(') + numbers.join(QStringLiteral(", ")) + QLatin1Char(')'));
    }
    return parts.join(QStringLiteral("; "));
}

// The same entities in the same order, each number within the tolerance.
inline bool sameEntities(const QVector<MeasurementMath::DrawingEntity>& a,
                         const QVector<MeasurementMath::DrawingEntity>& b, double tolerance)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (a[i].tag != b[i].tag || a[i].parameters.size() != b[i].parameters.size())
            return false;
        for (int k = 0; k < a[i].parameters.size(); ++k) {
            if (std::abs(a[i].parameters[k] - b[i].parameters[k]) > tolerance)
                return false;
        }
    }
    return true;
}
