#pragma once

#include <QPointF>
#include <QRectF>
#include <QVector>

// Pixel positions of a polyline with bounding boxes of fixed-size blocks, for
// nearest-point and nearest-segment searches that visit only the blocks that
// can still beat the best distance found. The distances are computed exactly
// as QCPCurve's hit test computes them, so the results are the same.
class CurvePixelIndex
{
public:
    struct NearestPoint
    {
        int index = -1; // -1 when no point has finite coordinates
        double distanceSquared = 0;
    };

    struct NearestSegments
    {
        // Smallest squared distance to a segment with both ends inside the rectangle given.
        double inside = 0;
        // Smallest squared distance to the other segments, as far as it was not pruned.
        double crossing = 0;
    };

    void build(QVector<QPointF> points);
    void clear();
    // Hands the points over, so that their buffer can serve the next build; the index is empty after.
    QVector<QPointF> takePoints();
    bool isEmpty() const { return m_points.isEmpty(); }
    const QVector<QPointF>& points() const { return m_points; }

    // The lowest index among the points nearest to pos; distanceSquared is the
    // largest double when there is none.
    NearestPoint nearestPoint(const QPointF& pos) const;

    // Distances from pos to the segments between consecutive points. Segments
    // that cannot come below bound are skipped, so a result at or above bound
    // only says that nothing came below it.
    NearestSegments nearestSegments(const QPointF& pos, double bound, const QRectF& inside) const;

private:
    struct Box
    {
        double left, top, right, bottom;
    };

    static constexpr int kBlockSize = 64;

    double lowerBound(int block, const QPointF& pos) const;
    int mostPromisingBlock(const QPointF& pos) const;
    // Calls search(block) for the most promising block, then for every other
    // block whose lower bound mayBeat(lowerBound) accepts at that moment.
    template <typename MayBeat, typename Search>
    void searchBlocks(const QPointF& pos, MayBeat mayBeat, Search search) const;
    void searchPointBlock(int block, const QPointF& pos, NearestPoint& best) const;
    void searchSegmentBlock(int block, const QPointF& pos, const QRectF& inside, NearestSegments& best) const;

    QVector<QPointF> m_points;
    QVector<Box> m_boxes; // block b covers points b*kBlockSize .. (b+1)*kBlockSize inclusive
};
