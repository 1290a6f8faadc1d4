#pragma once

#include <QVector>

// A conversion applied to every point as it enters a trace: one value per
// column, changed in place.
class IDataSinglePointProcessor
{
public:
    virtual ~IDataSinglePointProcessor() = default;

    virtual void process(QVector<double>& point) { Q_UNUSED(point) }
};
