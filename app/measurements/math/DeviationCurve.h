#pragma once

#include "PointAccess.h"
#include "RMS.h"

#include <QPointF>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace MeasurementMath {

// How far each point of a stretch departs from a reference form: one
// deviation per key, in the order the curve is drawn. Points are curve points
// (key, value) or plain 2-D points.
struct DeviationCurve
{
    QVector<double> keys;
    QVector<double> deviations;

    int size() const { return keys.size(); }
    bool isEmpty() const { return keys.isEmpty(); }
};

// Largest minus smallest deviation; 0 without deviations.
double deviationSpread(const QVector<double>& deviations);

// A stretch of a curve's data by indexes, [begin, end).
struct IndexRange
{
    qint64 begin = 0;
    qint64 end = 0;
};

// Each point's height above the least-squares line through all of them. A
// stretch without two distinct keys has no line: every deviation is then not
// a number.
template <typename Iterator>
DeviationCurve lineDeviationCurve(Iterator first, Iterator last)
{
    const Algos::RMS line(first, last);
    const double intercept = line.coefficient(0);
    const double slope = line.coefficient(1);
    DeviationCurve curve;
    const auto count = std::distance(first, last);
    curve.keys.reserve(int(count));
    curve.deviations.reserve(int(count));
    for (Iterator it = first; it != last; ++it) {
        const double key = Algos::pointX(*it);
        curve.keys.append(key);
        curve.deviations.append(Algos::pointY(*it) - (intercept + slope * key));
    }
    return curve;
}

// The radial deviation of one point: positive inside the circle.
inline double radialDeviation(double x, double y, QPointF centre, double radius)
{
    const double dx = x - centre.x();
    const double dy = y - centre.y();
    return radius - std::sqrt(dx * dx + dy * dy);
}

// Each point's radius minus its distance to the centre.
template <typename Iterator>
DeviationCurve circleDeviationCurve(Iterator first, Iterator last, QPointF centre, double radius)
{
    DeviationCurve curve;
    const auto count = std::distance(first, last);
    curve.keys.reserve(int(count));
    curve.deviations.reserve(int(count));
    for (Iterator it = first; it != last; ++it) {
        curve.keys.append(Algos::pointX(*it));
        curve.deviations.append(radialDeviation(Algos::pointX(*it), Algos::pointY(*it), centre, radius));
    }
    return curve;
}

// The circle deviations of several stretches of one curve's data (`data` its
// first point) joined into one curve through the gaps between them: every
// point from the smallest begin to the largest end, each key once (the first
// point met wins, taking the stretches in their order before the gaps), by
// key ascending.
template <typename Iterator>
DeviationCurve segmentsDeviationCurve(Iterator data, const QVector<IndexRange>& ranges, QPointF centre, double radius)
{
    if (ranges.isEmpty())
        return {};
    qint64 lowest = ranges.first().begin;
    qint64 highest = ranges.first().end;
    for (const IndexRange& range : ranges) {
        lowest = std::min(lowest, range.begin);
        highest = std::max(highest, range.end);
    }

    const auto keyAt = [&data](qint64 i) { return Algos::pointX(*std::next(data, i)); };

    // Indexes in the order they are met: the stretches, then the whole span.
    // A point without a key (a gap in the trace) has no place on the curve.
    QVector<qint64> order;
    const auto meet = [&](qint64 from, qint64 to) {
        for (qint64 i = from; i < to; ++i) {
            if (!std::isnan(keyAt(i)))
                order.append(i);
        }
    };
    for (const IndexRange& range : ranges)
        meet(range.begin, range.end);
    meet(lowest, highest);

    std::stable_sort(order.begin(), order.end(), [&keyAt](qint64 a, qint64 b) { return keyAt(a) < keyAt(b); });

    DeviationCurve curve;
    for (qint64 i : qAsConst(order)) {
        const double key = keyAt(i);
        if (!curve.keys.isEmpty() && curve.keys.last() == key)
            continue;
        const auto point = std::next(data, i);
        curve.keys.append(key);
        curve.deviations.append(radialDeviation(key, Algos::pointY(*point), centre, radius));
    }
    return curve;
}

} // namespace MeasurementMath
