#pragma once

#include <QVector>

#include <atomic>

#include "AbstractTrace.h"

// A trace of a given number of columns whose own processing only counts its
// runs, so that tests see when a trace was rebuilt.
class CountingTrace : public AbstractTrace
{
public:
    explicit CountingTrace(int dimension = 2) : AbstractTrace(dimension) {}

    int processRuns() const { return m_processRuns; }

protected:
    void processDisplay(ProfileData&, SpareColumns&) const override { ++m_processRuns; }

private:
    mutable std::atomic<int> m_processRuns{0};
};

// Column i of the store as a plain vector.
inline QVector<double> column(const LockedTraceData& locked, int i)
{
    return locked.data->value(i);
}
