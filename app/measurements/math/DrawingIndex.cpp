#include "DrawingIndex.h"

#include "DrawingGeometry.h"
#include "Geometry.h"

#include <QtConcurrent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace MeasurementMath {

namespace {

constexpr int kLeafSize = 4;
// Small enough that a trace of 100,000 points keeps every core busy.
constexpr int kSumBlock = 1 << 12;

// Room for rounding between a box and the distances computed to its entity.
double margin(double a, double b)
{
    return 1e-9 * (std::abs(a) + std::abs(b)) + 1e-300;
}

} // namespace

DrawingIndex::DrawingIndex(const QVector<DrawingEntity>& entities)
{
    for (const DrawingEntity& entity : entities) {
        const QVector<double>& p = entity.parameters;
        if (isLine(entity))
            m_shapes.append({{p[0], p[1], p[2], p[3], 0}, true});
        else if (isCircleOrArc(entity))
            m_shapes.append({{p[0], p[1], p[2], p[3], p[4]}, false});
    }
    if (m_shapes.isEmpty())
        return;
    QVector<Box> boxes;
    QVector<QPointF> centres;
    QVector<int> order;
    for (int i = 0; i < m_shapes.size(); ++i) {
        const Box b = boxOf(m_shapes.at(i));
        boxes.append(b);
        centres.append(QPointF((b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2));
        order.append(i);
    }
    m_nodes.reserve(2 * m_shapes.size() / kLeafSize + 2);
    build(order, 0, order.size(), boxes, centres);
    QVector<Shape> ordered;
    ordered.reserve(m_shapes.size());
    m_shapeBoxes.reserve(m_shapes.size());
    for (int i : qAsConst(order)) {
        ordered.append(m_shapes.at(i));
        m_shapeBoxes.append(boxes.at(i));
    }
    m_shapes = ordered;
}

DrawingIndex::Box DrawingIndex::boxOf(const Shape& s)
{
    Box b{};
    if (s.isLine) {
        b = {std::min(s.p[0], s.p[2]), std::min(s.p[1], s.p[3]), std::max(s.p[0], s.p[2]), std::max(s.p[1], s.p[3])};
    } else {
        const double cx = s.p[0];
        const double cy = s.p[1];
        const double r = s.p[2];
        b = {cx - r, cy - r, cx + r, cy + r};
        const double start = s.p[3];
        const double end = s.p[4];
        if (start >= 0 && end - start < 360) {
            const auto at = [&](double degrees) {
                return QPointF(cx + r * std::cos(degrees * Algos::kRadiansPerDegree),
                               cy + r * std::sin(degrees * Algos::kRadiansPerDegree));
            };
            const QPointF a = at(start);
            const QPointF e = at(end);
            b = {std::min(a.x(), e.x()), std::min(a.y(), e.y()), std::max(a.x(), e.x()), std::max(a.y(), e.y())};
            for (double q = std::ceil(start / 90) * 90; q <= end; q += 90) {
                const int quadrant = int(std::lround(q / 90)) % 4;
                if (quadrant == 0)
                    b.x1 = cx + r;
                else if (quadrant == 1)
                    b.y1 = cy + r;
                else if (quadrant == 2)
                    b.x0 = cx - r;
                else
                    b.y0 = cy - r;
            }
        }
    }
    const double mx = margin(b.x0, b.x1) + (s.isLine ? 0 : 1e-9 * s.p[2]);
    const double my = margin(b.y0, b.y1) + (s.isLine ? 0 : 1e-9 * s.p[2]);
    return {b.x0 - mx, b.y0 - my, b.x1 + mx, b.y1 + my};
}

// Median split along the longer side of the centres' box, depth first: an
// inner node's left child follows it.
int DrawingIndex::build(QVector<int>& order, int first, int last, const QVector<Box>& boxes,
                        const QVector<QPointF>& centres)
{
    const int node = m_nodes.size();
    Box box = boxes.at(order.at(first));
    double cx0 = std::numeric_limits<double>::max();
    double cy0 = cx0;
    double cx1 = std::numeric_limits<double>::lowest();
    double cy1 = cx1;
    for (int i = first; i < last; ++i) {
        const Box& b = boxes.at(order.at(i));
        box = {std::min(box.x0, b.x0), std::min(box.y0, b.y0), std::max(box.x1, b.x1), std::max(box.y1, b.y1)};
        const QPointF& c = centres.at(order.at(i));
        cx0 = std::min(cx0, c.x());
        cy0 = std::min(cy0, c.y());
        cx1 = std::max(cx1, c.x());
        cy1 = std::max(cy1, c.y());
    }
    m_nodes.append({box, first, last - first});
    if (last - first <= kLeafSize)
        return node;
    const bool alongX = cx1 - cx0 >= cy1 - cy0;
    const int middle = (first + last) / 2;
    std::nth_element(order.begin() + first, order.begin() + middle, order.begin() + last, [&](int a, int b) {
        return alongX ? centres.at(a).x() < centres.at(b).x() : centres.at(a).y() < centres.at(b).y();
    });
    build(order, first, middle, boxes, centres);
    const int right = build(order, middle, last, boxes, centres);
    m_nodes[node].first = right;
    m_nodes[node].count = 0;
    return node;
}

double DrawingIndex::squaredDistance(const Box& box, double x, double y)
{
    const double dx = x < box.x0 ? box.x0 - x : (x > box.x1 ? x - box.x1 : 0);
    const double dy = y < box.y0 ? box.y0 - y : (y > box.y1 ? y - box.y1 : 0);
    return dx * dx + dy * dy;
}

double DrawingIndex::distanceTo(const Shape& s, double x, double y)
{
    if (s.isLine)
        return distanceToSegment(QPointF(x, y), QPointF(s.p[0], s.p[1]), QPointF(s.p[2], s.p[3]));
    return distanceToArc(QPointF(x, y), QPointF(s.p[0], s.p[1]), s.p[2], s.p[3], s.p[4]);
}

double DrawingIndex::walk(double x, double y) const
{
    double best = kNoDrawingDistance;
    for (const Shape& s : m_shapes)
        best = std::min(best, distanceTo(s, x, y));
    return best;
}

double DrawingIndex::distanceToNearest(double x, double y) const
{
    int hint = -1;
    return distanceToNearest(x, y, hint);
}

// The hint's distance is one of the candidates, so starting from it only
// prunes more of the tree; the minimum stays the same.
double DrawingIndex::distanceToNearest(double x, double y, int& hint) const
{
    if (m_nodes.isEmpty())
        return kNoDrawingDistance;
    if (!std::isfinite(x) || !std::isfinite(y))
        return walk(x, y);
    double best = kNoDrawingDistance;
    if (hint >= 0 && hint < m_shapes.size())
        best = std::min(best, distanceTo(m_shapes.at(hint), x, y));
    double bestSquared = best * best;
    // Depth of a median-split tree stays below 64 for any vector's size.
    int stack[128];
    int top = 0;
    stack[top++] = 0;
    while (top > 0) {
        const Node& node = m_nodes.at(stack[--top]);
        if (squaredDistance(node.box, x, y) > bestSquared)
            continue;
        if (node.count > 0) {
            for (int i = node.first; i < node.first + node.count; ++i) {
                if (squaredDistance(m_shapeBoxes.at(i), x, y) > bestSquared)
                    continue;
                const double d = distanceTo(m_shapes.at(i), x, y);
                if (d < best) {
                    best = d;
                    bestSquared = d * d;
                    hint = i;
                }
            }
            continue;
        }
        const int left = int(&node - m_nodes.constData()) + 1;
        const int right = node.first;
        const double dl = squaredDistance(m_nodes.at(left).box, x, y);
        const double dr = squaredDistance(m_nodes.at(right).box, x, y);
        // The nearer child is taken first.
        if (dl <= dr) {
            stack[top++] = right;
            stack[top++] = left;
        } else {
            stack[top++] = left;
            stack[top++] = right;
        }
    }
    return best;
}

double summedDistance(const QVector<QPointF>& points, const DrawingIndex& index)
{
    return summedDistance(points, index, [](QPointF p) { return p; });
}

double summedDistance(const QVector<QPointF>& points, const DrawingIndex& index,
                      const std::function<QPointF(QPointF)>& map)
{
    struct Block
    {
        int first;
        int last;
        double sum;
    };
    QVector<Block> blocks;
    for (int first = 0; first < points.size(); first += kSumBlock)
        blocks.append({first, std::min(first + kSumBlock, int(points.size())), 0.0});
    const auto sumBlock = [&points, &index, &map](Block& block) {
        double sum = 0;
        int hint = -1;
        for (int i = block.first; i < block.last; ++i) {
            const QPointF p = map(points.at(i));
            if (std::isfinite(p.x()) && std::isfinite(p.y()))
                sum += index.distanceToNearest(p.x(), p.y(), hint);
        }
        block.sum = sum;
    };
    if (blocks.size() > 1)
        QtConcurrent::blockingMap(blocks, sumBlock);
    else if (!blocks.isEmpty())
        sumBlock(blocks.first());
    double total = 0;
    for (const Block& block : qAsConst(blocks))
        total += block.sum;
    return total;
}

} // namespace MeasurementMath
