#include "PickPointIndex.h"

int PickPointIndex::add(const Point& point)
{
    int id = int(m_points.size());
    if (m_free.isEmpty())
        m_points.emplace_back();
    else
        id = m_free.takeLast();
    Slot& slot = m_points[id];
    slot.point = point;
    slot.alive = true;
    m_pickableCount += point.pickable ? 1 : 0;
    ++m_curves[point.curve];
    markChanged(id);
    return id;
}

void PickPointIndex::move(int id, const QPointF& position)
{
    m_points[id].point.position = position;
    markChanged(id);
}

void PickPointIndex::setPickable(int id, bool pickable)
{
    bool& current = m_points[id].point.pickable;
    m_pickableCount += int(pickable) - int(current);
    current = pickable;
}

void PickPointIndex::remove(int id)
{
    Slot& slot = m_points[id];
    m_pickableCount -= slot.point.pickable ? 1 : 0;
    const auto count = m_curves.find(slot.point.curve);
    if (count != m_curves.end() && --*count == 0)
        m_curves.erase(count);
    slot.alive = false;
    slot.point = Point();
    m_free.append(id);
    markChanged(id);
}

bool PickPointIndex::holds(const QCPCurve* curve) const
{
    return m_curves.contains(curve);
}

void PickPointIndex::markChanged(int id)
{
    Slot& slot = m_points[id];
    if (slot.changed)
        return;
    slot.changed = true;
    m_changed.append(id);
}

const QVector<int>& PickPointIndex::ordered() const
{
    if (!m_changed.isEmpty())
        merge();
    return m_order;
}

// The changed points leave the order, and those still there come back in
// at their places.
void PickPointIndex::merge() const
{
    const auto byX = [this](int a, int b) {
        return m_points.at(a).point.position.x() < m_points.at(b).point.position.x();
    };
    m_order.erase(std::remove_if(m_order.begin(), m_order.end(), [this](int id) { return m_points.at(id).changed; }),
                  m_order.end());
    QVector<int> fresh;
    fresh.reserve(m_changed.size());
    for (int id : qAsConst(m_changed)) {
        Slot& slot = m_points[id];
        slot.changed = false;
        if (slot.alive)
            fresh.append(id);
    }
    m_changed.clear();
    std::sort(fresh.begin(), fresh.end(), byX);
    QVector<int> merged(m_order.size() + fresh.size());
    std::merge(m_order.cbegin(), m_order.cend(), fresh.cbegin(), fresh.cend(), merged.begin(), byX);
    m_order.swap(merged);
}
