#pragma once

#include <QHash>
#include <QPointF>
#include <QVector>

#include <algorithm>
#include <vector>

class QCPCurve;

// The points of a plot that the cursor can pick besides the trace points: the
// reference points of measurements, each a data point of a curve that holds
// them. Kept in x order, so that a search near the cursor reads only the
// points of a narrow x band, however many there are. Changes are collected
// and merged into the order at the next search, in one pass; a load of
// thousands of points, or their removal, costs no more than one such pass.
//
// A point keeps its id from add() to remove(); ids of removed points are
// reused.
class PickPointIndex
{
public:
    struct Point
    {
        QPointF position;
        QCPCurve* curve = nullptr;
        int index = 0;
        // Whether the plot's snap may take it.
        bool pickable = false;
    };

    int add(const Point& point);
    void move(int id, const QPointF& position);
    void setPickable(int id, bool pickable);
    void remove(int id);

    const Point& point(int id) const { return m_points.at(id).point; }
    int size() const { return int(m_points.size()) - m_free.size(); }
    int pickableCount() const { return m_pickableCount; }
    // Whether any point of the curve is in the index.
    bool holds(const QCPCurve* curve) const;

    // Calls visit(id) for the points in x order outward from x, first those
    // at or above it, then those below, while visit returns true for the
    // side it walks.
    template <typename Visit>
    void walkOutward(double x, Visit visit) const
    {
        const QVector<int>& order = ordered();
        const auto start = std::lower_bound(order.cbegin(), order.cend(), x, [this](int id, double v) {
            return m_points.at(id).point.position.x() < v;
        });
        for (auto it = start; it != order.cend() && visit(*it); ++it) {
        }
        for (auto it = start; it != order.cbegin() && visit(*(it - 1)); --it) {
        }
    }

private:
    struct Slot
    {
        Point point;
        bool alive = false;
        // Moved, added or removed since the last merge.
        bool changed = false;
    };

    void markChanged(int id);
    const QVector<int>& ordered() const;
    void merge() const;

    mutable std::vector<Slot> m_points;
    QVector<int> m_free;
    int m_pickableCount = 0;
    mutable QVector<int> m_order;
    mutable QVector<int> m_changed;
    // How many points each curve has in the index.
    QHash<const QCPCurve*, int> m_curves;
};
