#include "CurvePixelIndex.h"

#include "PolylineClipping.h"

#include <qcustomplot.h>

#include <algorithm>
#include <limits>

namespace {

constexpr double kMaxDouble = std::numeric_limits<double>::max();

// Room for the rounding of the library's segment distance against the exact bound.
bool cannotComeBelow(double lowerBound, double bound)
{
    return lowerBound - 1e-7 - 1e-9 * lowerBound > bound;
}

} // namespace

void CurvePixelIndex::clear()
{
    m_points.clear();
    m_boxes.clear();
}

QVector<QPointF> CurvePixelIndex::takePoints()
{
    QVector<QPointF> points;
    points.swap(m_points);
    m_boxes.clear();
    return points;
}

void CurvePixelIndex::build(QVector<QPointF> points)
{
    m_points = std::move(points);
    const int count = m_points.size();
    const int blocks = (count + kBlockSize - 1) / kBlockSize;
    m_boxes.resize(blocks);
    for (int block = 0; block < blocks; ++block) {
        Box box{kMaxDouble, kMaxDouble, -kMaxDouble, -kMaxDouble};
        const int end = qMin(count, (block + 1) * kBlockSize + 1);
        for (int i = block * kBlockSize; i < end; ++i) {
            const QPointF& p = m_points.at(i);
            // NaN coordinates fail every comparison and stay out of the box.
            if (p.x() < box.left)
                box.left = p.x();
            if (p.x() > box.right)
                box.right = p.x();
            if (p.y() < box.top)
                box.top = p.y();
            if (p.y() > box.bottom)
                box.bottom = p.y();
        }
        m_boxes[block] = box;
    }
}

double CurvePixelIndex::lowerBound(int block, const QPointF& pos) const
{
    const Box& box = m_boxes.at(block);
    if (box.left > box.right || box.top > box.bottom)
        return kMaxDouble;
    const double dx = std::max({0.0, box.left - pos.x(), pos.x() - box.right});
    const double dy = std::max({0.0, box.top - pos.y(), pos.y() - box.bottom});
    return dx * dx + dy * dy;
}

int CurvePixelIndex::mostPromisingBlock(const QPointF& pos) const
{
    int best = 0;
    double bestBound = kMaxDouble;
    for (int block = 0; block < m_boxes.size(); ++block) {
        const double bound = lowerBound(block, pos);
        if (bound < bestBound) {
            bestBound = bound;
            best = block;
        }
    }
    return best;
}

void CurvePixelIndex::searchPointBlock(int block, const QPointF& pos, NearestPoint& best) const
{
    const int end = qMin(m_points.size(), (block + 1) * kBlockSize);
    for (int i = block * kBlockSize; i < end; ++i) {
        const QPointF d = m_points.at(i) - pos;
        const double distanceSquared = d.x() * d.x() + d.y() * d.y();
        if (distanceSquared < best.distanceSquared || (distanceSquared == best.distanceSquared && i < best.index)) {
            best.distanceSquared = distanceSquared;
            best.index = i;
        }
    }
}

// The best distance the most promising block sets prunes most of the others.
template <typename MayBeat, typename Search>
void CurvePixelIndex::searchBlocks(const QPointF& pos, MayBeat mayBeat, Search search) const
{
    const int first = mostPromisingBlock(pos);
    search(first);
    for (int block = 0; block < m_boxes.size(); ++block) {
        if (block != first && mayBeat(lowerBound(block, pos)))
            search(block);
    }
}

CurvePixelIndex::NearestPoint CurvePixelIndex::nearestPoint(const QPointF& pos) const
{
    NearestPoint best{-1, kMaxDouble};
    if (m_points.isEmpty())
        return best;
    searchBlocks(
        pos, [&](double lowerBound) { return lowerBound <= best.distanceSquared; },
        [&](int block) { searchPointBlock(block, pos, best); });
    return best;
}

void CurvePixelIndex::searchSegmentBlock(int block, const QPointF& pos, const QRectF& inside,
                                         NearestSegments& best) const
{
    const QCPVector2D cursor(pos);
    const int end = qMin(m_points.size() - 1, (block + 1) * kBlockSize);
    for (int i = block * kBlockSize; i < end; ++i) {
        const QPointF& start = m_points.at(i);
        const QPointF& stop = m_points.at(i + 1);
        const double distanceSquared = cursor.distanceSquaredToLine(QCPVector2D(start), QCPVector2D(stop));
        double& slot = PolylineClipping::isInside(inside, start) && PolylineClipping::isInside(inside, stop) ? best.inside : best.crossing;
        if (distanceSquared < slot)
            slot = distanceSquared;
    }
}

CurvePixelIndex::NearestSegments CurvePixelIndex::nearestSegments(const QPointF& pos, double bound,
                                                                  const QRectF& inside) const
{
    NearestSegments best{kMaxDouble, kMaxDouble};
    if (m_points.size() < 2)
        return best;
    searchBlocks(
        pos,
        [&](double lowerBound) { return !cannotComeBelow(lowerBound, std::min({bound, best.inside, best.crossing})); },
        [&](int block) { searchSegmentBlock(block, pos, inside, best); });
    return best;
}
