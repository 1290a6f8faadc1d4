#pragma once

#include <QVector>

#include "ProfileData.h"

// The columns of stores that a rebuild replaced, kept so that the next
// rebuild writes into memory that is already mapped: a fresh column of a
// long trace costs a page fault for every few hundred values, more than
// computing the values.
//
// A column is kept only when nothing else refers to it at that moment: not a
// live store, and not a copy that a reader took while it held the trace's
// lock. Nothing can take a new reference to a kept column, so handing it out
// again never changes values someone else sees. The owner guards the object
// by the same lock as its rebuilds.
class SpareColumns
{
public:
    // At most `limit` columns are kept, the oldest going first.
    explicit SpareColumns(int limit) : m_limit(limit) {}

    // Keeps the columns of `store` that nothing else shares.
    void keep(ProfileData store);
    // A column of `size` values that shares its memory with nothing, its
    // values unspecified: a kept one with enough room when there is one,
    // otherwise a new one.
    QVector<double> take(int size);
    int size() const { return m_columns.size(); }

private:
    QVector<QVector<double>> m_columns;
    int m_limit;
};
