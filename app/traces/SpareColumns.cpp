#include "SpareColumns.h"

#include <atomic>

#include "ColumnReserve.h"

void SpareColumns::keep(ProfileData store)
{
    for (QVector<double>& column : store) {
        // A column shared with a store kept later is released here, so
        // that the later one is not counted as shared.
        if (column.isDetached() && column.capacity() > 0)
            m_columns.append(std::move(column));
        else
            column = QVector<double>();
    }
    // A reader that released its copy of a column last did so before the
    // column was seen unshared: its reads happen before the writes to come.
    std::atomic_thread_fence(std::memory_order_acquire);
    if (m_columns.size() > m_limit)
        m_columns.erase(m_columns.begin(), m_columns.end() - m_limit);
}

QVector<double> SpareColumns::take(int size)
{
    if (size <= 0)
        return {};
    for (int i = m_columns.size() - 1; i >= 0; --i) {
        if (m_columns[i].capacity() < size)
            continue;
        QVector<double> column = std::move(m_columns[i]);
        m_columns.remove(i);
        column.resize(size);
        return column;
    }
    QVector<double> column;
    reserveColumn(column, size);
    column.resize(size);
    return column;
}
