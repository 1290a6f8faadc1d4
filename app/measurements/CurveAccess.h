#pragma once

#include "Selection.h"

#include "plot/PlotCurve.h"
#include "plot/PlotWidget.h"

#include <QPointF>
#include <QPointer>
#include <QVector>

#include <algorithm>

// The one place where measurements read plot curve data. A curve that is gone
// or an index outside its data reads as the point (0, 0) and as an empty range.

// One data point of a plot curve, by its index in the curve's data.
struct PointRef
{
    qint64 index = 0;
    QPointer<QCPCurve> curve;
};

// The point the plot's selection marker last snapped to.
inline PointRef snapPointRef(const PlotWidget* plot)
{
    if (!plot)
        return {};
    return {plot->selectionMarkerIndex(), plot->selectionMarkerCurve()};
}

inline const QCPCurveData* curveData(const QCPCurve* curve, qint64 index)
{
    if (!curve || index < 0 || index >= curve->dataCount())
        return nullptr;
    return &*(curve->data()->constBegin() + index);
}

// The key (x) of the curve's point at index; 0 without such a point.
inline double curvePointKey(const QCPCurve* curve, qint64 index)
{
    const QCPCurveData* point = curveData(curve, index);
    return point ? point->key : 0.0;
}

// The value (y) of the curve's point at index; 0 without such a point.
inline double curvePointValue(const QCPCurve* curve, qint64 index)
{
    const QCPCurveData* point = curveData(curve, index);
    return point ? point->value : 0.0;
}

inline QPointF curvePointAt(const PointRef& ref)
{
    const QCPCurveData* point = curveData(ref.curve, ref.index);
    return point ? QPointF(point->key, point->value) : QPointF(0, 0);
}

// The curve data points of a selection, [first, last), clipped to the data;
// empty when the selection's plottable is not a curve or is gone. Points are
// read as (key, value), as the fits of the numerics take them. The revision is
// the curve's data revision (PlotCurve) when the span was taken.
struct CurveSpan
{
    QCPCurveDataContainer::const_iterator first;
    QCPCurveDataContainer::const_iterator last;
    quint64 revision = 0;

    bool isEmpty() const { return first == last; }
    int size() const { return int(last - first); }
};

inline CurveSpan selectionSpan(const Selection& selection)
{
    const auto* curve = qobject_cast<const QCPCurve*>(selection.plottable.data());
    if (!curve)
        return {};
    const QCPCurveDataContainer::const_iterator data = curve->data()->constBegin();
    const qint64 count = curve->dataCount();
    const qint64 begin = std::clamp<qint64>(selection.begin, 0, count);
    const qint64 end = std::clamp<qint64>(selection.end, begin, count);
    return {data + begin, data + end, PlotCurve::dataRevisionOf(curve)};
}

inline QVector<QPointF> spanPoints(const CurveSpan& span)
{
    QVector<QPointF> points;
    points.reserve(span.size());
    for (auto it = span.first; it != span.last; ++it)
        points.append(QPointF(it->key, it->value));
    return points;
}

inline QVector<QPointF> selectionPoints(const Selection& selection)
{
    return spanPoints(selectionSpan(selection));
}

// Calls visit(curve) for the registry's curves 0 .. count - 1 that exist: the
// trace curves of a contour plot, which come first in the registry.
template <typename Visit>
void forEachTraceCurve(const PlotWidget* plot, int count, Visit visit)
{
    if (!plot)
        return;
    const int last = std::min(count, plot->curveCount());
    for (int i = 0; i < last; ++i) {
        if (QCPCurve* curve = plot->curve(i))
            visit(curve);
    }
}

// Calls visit(curve) for every curve of the registry.
template <typename Visit>
void forEachCurve(const PlotWidget* plot, Visit visit)
{
    forEachTraceCurve(plot, plot ? plot->curveCount() : 0, visit);
}
