#pragma once

#include "DrawingEntity.h"

#include <QPointF>
#include <QVector>

#include <functional>

namespace MeasurementMath {

// The lines, circles and arcs of a drawing in a bounding-volume tree, for the
// distance from a point to the nearest of them. It answers exactly what the
// walk over all entities (distanceToNearestEntity) answers: the same distance
// functions on the same numbers, the tree only leaving out entities whose
// boxes lie farther than the nearest found so far. Built once per state of
// the drawing; queries are const and may run on several threads.
class DrawingIndex
{
public:
    DrawingIndex() = default;
    explicit DrawingIndex(const QVector<DrawingEntity>& entities);

    // kNoDrawingDistance when the drawing has no line, circle or arc.
    double distanceToNearest(double x, double y) const;
    // The same, starting from the entity that was nearest to the previous
    // point of a run of nearby points; hint is that entity's place, -1 at
    // the start of a run, and is updated.
    double distanceToNearest(double x, double y, int& hint) const;

private:
    struct Box
    {
        double x0, y0, x1, y1;
    };
    // A line (start negative) or a circle or arc as the distance functions
    // take it.
    struct Shape
    {
        double p[5];
        bool isLine;
    };
    struct Node
    {
        Box box;
        int first;  // leaf: first shape; inner: index of the right child
        int count;  // shapes of a leaf, 0 for an inner node
    };

    static Box boxOf(const Shape& shape);
    static double squaredDistance(const Box& box, double x, double y);
    static double distanceTo(const Shape& shape, double x, double y);
    int build(QVector<int>& order, int first, int last, const QVector<Box>& boxes, const QVector<QPointF>& centres);
    double walk(double x, double y) const;

    QVector<Shape> m_shapes;
    // Each shape's box, in the shapes' order.
    QVector<Box> m_shapeBoxes;
    QVector<Node> m_nodes;
};

// The sum of the distances from the finite points to the nearest entity,
// points that are not finite left out. The points are summed in fixed blocks
// on the thread pool and the blocks' sums added in order, so the result does
// not depend on the number of threads.
double summedDistance(const QVector<QPointF>& points, const DrawingIndex& index);
// The same with every point taken through map first, in the same blocks.
double summedDistance(const QVector<QPointF>& points, const DrawingIndex& index,
                      const std::function<QPointF(QPointF)>& map);

} // namespace MeasurementMath
