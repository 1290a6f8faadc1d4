#pragma once

#include <QHash>
#include <QLineF>
#include <QRectF>
#include <QVector>

namespace MeasurementMath {

// What a text placed on a plot keeps clear of, in pixels: the rectangles of
// the labels already there and the polylines of the drawn curves (points that
// are not finite break a polyline). Segments are kept in columns of pixels,
// so that a rectangle is tested against the segments of its columns only.
class PlotObstacles
{
public:
    PlotObstacles() = default;
    PlotObstacles(QVector<QRectF> labels, const QVector<QVector<QPointF>>& curves);

    bool coversLabel(const QRectF& rect) const;
    // Whether a curve comes into the rectangle (its border included).
    bool touchesCurve(const QRectF& rect) const;
    bool isFree(const QRectF& rect) const { return !coversLabel(rect) && !touchesCurve(rect); }

private:
    static int column(double x);

    QVector<QRectF> m_labels;
    QVector<QLineF> m_segments;
    // The segments reaching into each column.
    QHash<int, QVector<int>> m_columns;
};

// Whether the segment comes into the rectangle (its border included); never
// for a segment with an end that is not finite.
bool segmentMeetsRect(const QLineF& segment, const QRectF& rect);

} // namespace MeasurementMath
