#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QVector>

#include <algorithm>
#include <functional>

// Milliseconds of the fastest and of the median of `runs` runs of `work`,
// each after an untimed `prepare`.
inline QString timing(const std::function<void()>& prepare, const std::function<void()>& work, int runs = 5)
{
    QVector<double> times;
    for (int run = 0; run < runs; ++run) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return QStringLiteral("min %1 ms, median %2 ms").arg(times.first(), 0, 'f', 1).arg(times.at(runs / 2), 0, 'f', 1);
}
