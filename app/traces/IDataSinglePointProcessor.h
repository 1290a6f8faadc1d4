#pragma once

#include <QVector>

#include <algorithm>

#include "ProfileData.h"

// A conversion applied to every point as it enters a trace: one value per
// column, changed in place.
class IDataSinglePointProcessor
{
public:
    virtual ~IDataSinglePointProcessor() = default;

    virtual void process(QVector<double>& point) { Q_UNUSED(point) }

    // Whether the conversion may change the values of the column; a column
    // it leaves alone is shared with the raw store when rows are added.
    virtual bool changesColumn(int column) const
    {
        Q_UNUSED(column)
        return true;
    }

    // Converts the rows [first, first + count) of the columns in place, as
    // process() would convert each of them. Point by point unless a
    // conversion can do a block at once (and, say, read its settings once).
    virtual void processRows(ProfileData& columns, int first, int count)
    {
        QVector<double> point(columns.size());
        for (int row = first; row < first + count; ++row) {
            for (int i = 0; i < columns.size(); ++i)
                point[i] = columns[i][row];
            process(point);
            const int converted = std::min(point.size(), columns.size());
            for (int i = 0; i < converted; ++i)
                columns[i][row] = point[i];
        }
    }
};
