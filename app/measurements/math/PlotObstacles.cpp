#include "PlotObstacles.h"

#include "Geometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace MeasurementMath {

namespace {

constexpr double kColumnWidth = 16;

// Cuts the segment to the slab lower <= start + t (end - start) <= upper of
// one coordinate, narrowing [t0, t1]; false once nothing is left.
bool clipToSlab(double start, double end, double lower, double upper, double& t0, double& t1)
{
    const double delta = end - start;
    if (!std::isfinite(delta))
        return false;
    if (delta == 0)
        return start >= lower && start <= upper;
    double enter = (lower - start) / delta;
    double leave = (upper - start) / delta;
    if (enter > leave)
        std::swap(enter, leave);
    t0 = std::max(t0, enter);
    t1 = std::min(t1, leave);
    return t0 <= t1;
}

} // namespace

bool segmentMeetsRect(const QLineF& segment, const QRectF& rect)
{
    double t0 = 0;
    double t1 = 1;
    return clipToSlab(segment.x1(), segment.x2(), rect.left(), rect.right(), t0, t1)
           && clipToSlab(segment.y1(), segment.y2(), rect.top(), rect.bottom(), t0, t1);
}

PlotObstacles::PlotObstacles(QVector<QRectF> labels, const QVector<QVector<QPointF>>& curves)
    : m_labels(std::move(labels))
{
    for (const QVector<QPointF>& curve : curves) {
        for (int i = 1; i < curve.size(); ++i) {
            const QPointF a = curve.at(i - 1);
            const QPointF b = curve.at(i);
            if (!Algos::isFinite(a) || !Algos::isFinite(b))
                continue;
            const int index = m_segments.size();
            m_segments.append(QLineF(a, b));
            const int last = column(std::max(a.x(), b.x()));
            for (int c = column(std::min(a.x(), b.x())); c <= last; ++c)
                m_columns[c].append(index);
        }
    }
}

bool PlotObstacles::coversLabel(const QRectF& rect) const
{
    return std::any_of(m_labels.begin(), m_labels.end(),
                       [&rect](const QRectF& label) { return label.intersects(rect); });
}

bool PlotObstacles::touchesCurve(const QRectF& rect) const
{
    const int last = column(rect.right());
    for (int c = column(rect.left()); c <= last; ++c) {
        const auto found = m_columns.constFind(c);
        if (found == m_columns.constEnd())
            continue;
        for (int index : *found) {
            if (segmentMeetsRect(m_segments.at(index), rect))
                return true;
        }
    }
    return false;
}

int PlotObstacles::column(double x)
{
    return int(std::floor(x / kColumnWidth));
}

} // namespace MeasurementMath
