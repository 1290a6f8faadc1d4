#include "DeviationScaleLayout.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace MeasurementMath {

namespace {

// Kept free around each label, in pixels.
constexpr double kClearance = 2;
// Between a mark and its label at least.
constexpr double kLeastGap = 3;
// Between two labels at least.
constexpr double kLabelSpacing = 1;
// Places farther out on each side, at most.
constexpr int kMaxSteps = 60;

// 1, 2, 5, 10, 20, 50, ... for n = 0, 1, 2, ...
qint64 roundStride(int n)
{
    static const int kMantissas[] = {1, 2, 5};
    qint64 stride = kMantissas[n % 3];
    for (int i = 0; i < n / 3; ++i)
        stride *= 10;
    return stride;
}

} // namespace

DeviationScaleLayout::DeviationScaleLayout(const Band& band, QVector<Tick> ticks, double step, double tickLength,
                                           const QRectF& area)
    : m_band(band)
    , m_ticks(std::move(ticks))
    , m_step(step)
    , m_tickLength(tickLength)
    , m_area(area)
{
    m_labelled = chooseLabelledTicks();
}

QVector<int> DeviationScaleLayout::chooseLabelledTicks() const
{
    const int count = m_ticks.size();
    if (count <= 1 || !(m_step > 0))
        return count == 0 ? QVector<int>() : QVector<int>{count - 1};
    // Strides beyond the largest multiple leave fewer than two labels, so the
    // loop ends well before the stride could overflow.
    for (int n = 0; n < 3 * 18; ++n) {
        const qint64 stride = roundStride(n);
        QVector<int> labelled;
        for (int i = 0; i < count; ++i) {
            if (std::llround(m_ticks.at(i).value / m_step) % stride == 0)
                labelled.append(i);
        }
        if (labelled.size() < 2)
            break;
        if (!overlap(labelled))
            return labelled;
    }
    const QVector<int> ends{0, count - 1};
    if (!overlap(ends))
        return ends;
    return {count - 1};
}

DeviationScaleLayout::Placement DeviationScaleLayout::place(const PlotObstacles& obstacles) const
{
    double columnWidth = 0;
    for (int i : m_labelled)
        columnWidth = std::max(columnWidth, m_ticks.at(i).labelSize.width());

    const QVector<Candidate> places = candidates(columnWidth);
    Placement best;
    int fewestBlocked = INT_MAX;
    for (const Candidate& candidate : places) {
        Placement placement;
        if (!layOut(candidate, placement))
            continue;
        const int blocked = blockedLabels(placement, obstacles, fewestBlocked);
        if (blocked == 0) {
            placement.free = true;
            return placement;
        }
        if (blocked < fewestBlocked) {
            best = placement;
            fewestBlocked = blocked;
        }
    }
    if (fewestBlocked == INT_MAX)
        layOut(places.constFirst(), best);
    return best;
}

QVector<DeviationScaleLayout::Candidate> DeviationScaleLayout::candidates(double columnWidth) const
{
    const Side end = m_band.lastX >= m_band.firstX ? Side::Right : Side::Left;
    const Side start = end == Side::Right ? Side::Left : Side::Right;
    QVector<Candidate> list{{end, false, 0}, {start, false, 0}, {end, true, 0}, {start, true, 0}};
    const double step = std::max(4.0, columnWidth / 2);
    const int steps = std::min(kMaxSteps, int(std::ceil(m_area.width() / step)));
    for (int k = 1; k <= steps; ++k) {
        list.append({end, false, k * step});
        list.append({start, false, k * step});
    }
    return list;
}

bool DeviationScaleLayout::layOut(const Candidate& candidate, Placement& placement) const
{
    const double left = std::min(m_band.firstX, m_band.lastX);
    const double right = std::max(m_band.firstX, m_band.lastX);
    const double length = m_tickLength;
    const double space = gap();
    // The labels start at labelEdge and run towards `towards` (+1 right, -1 left).
    double labelEdge = 0;
    int towards = 1;
    if (candidate.side == Side::Right) {
        placement.markFrom = candidate.inside ? right : right + candidate.offset;
        placement.markTo = placement.markFrom - length;
        towards = candidate.inside ? -1 : 1;
        labelEdge = candidate.inside ? placement.markTo - space : placement.markFrom + space;
    } else {
        placement.markFrom = candidate.inside ? left : left - candidate.offset;
        placement.markTo = placement.markFrom + length;
        towards = candidate.inside ? 1 : -1;
        labelEdge = candidate.inside ? placement.markTo + space : placement.markFrom - space;
    }

    placement.labelled.clear();
    placement.labels.clear();
    for (int i : m_labelled) {
        const QSizeF size = m_ticks.at(i).labelSize;
        const double x = towards > 0 ? labelEdge : labelEdge - size.width();
        const QRectF rect(x, labelCentreY(i) - size.height() / 2, size.width(), size.height());
        if (rect.top() < m_area.top() || rect.bottom() > m_area.bottom())
            continue;
        if (rect.left() < m_area.left() || rect.right() > m_area.right())
            return false;
        placement.labelled.append(i);
        placement.labels.append(rect);
    }
    return true;
}

int DeviationScaleLayout::blockedLabels(const Placement& placement, const PlotObstacles& obstacles, int limit) const
{
    int blocked = 0;
    for (const QRectF& label : placement.labels) {
        if (blocked >= limit)
            break;
        if (!obstacles.isFree(label.adjusted(-kClearance, -kClearance, kClearance, kClearance)))
            ++blocked;
    }
    return blocked;
}

double DeviationScaleLayout::labelCentreY(int tick) const
{
    const double top = std::min(m_band.top, m_band.bottom);
    const double halfHeight = m_ticks.at(tick).labelSize.height() / 2;
    return std::max(m_ticks.at(tick).y, top + kClearance + 1 + halfHeight);
}

bool DeviationScaleLayout::overlap(const QVector<int>& labelled) const
{
    for (int k = 1; k < labelled.size(); ++k) {
        const int lower = labelled.at(k - 1);
        const int upper = labelled.at(k);
        const double reach = (m_ticks.at(lower).labelSize.height() + m_ticks.at(upper).labelSize.height()) / 2;
        if (std::abs(labelCentreY(lower) - labelCentreY(upper)) < reach + kLabelSpacing)
            return true;
    }
    return false;
}

double DeviationScaleLayout::gap() const
{
    return std::max(m_tickLength, kLeastGap);
}

} // namespace MeasurementMath
