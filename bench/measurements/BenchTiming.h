#pragma once

#include <QElapsedTimer>
#include <QVector>

#include <algorithm>

// Figures of repeated timings, in milliseconds.

inline double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

inline double percentile95(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() * 95 / 100);
}

inline double maximum(const QVector<double>& values)
{
    return *std::max_element(values.begin(), values.end());
}

inline double elapsedMs(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}
