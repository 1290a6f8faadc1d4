#pragma once

#include <QVector>

namespace Algos {

// Where the sampling lengths of a profile lie along x. Up to five windows of
// one sampling length each; from two on they are spread evenly with equal gaps
// so that the first starts at the first x and the last ends at the last x. A
// profile shorter than two sampling lengths gets one window from its first x.
// No window at all for an empty x column, a sampling length that is not a
// positive number, or an x extent that is not finite.
class SamplingWindows
{
public:
    SamplingWindows(const QVector<double>& x, double samplingLength);

    int count() const { return m_starts.size(); }
    double start(int window) const { return m_starts.at(window); }
    double end(int window) const { return m_ends.at(window); }

    // The first window with start <= x <= end (both included), or -1.
    int windowOf(double x) const;

    static constexpr int kMaxCount = 5;

private:
    QVector<double> m_starts;
    QVector<double> m_ends;
};

// Whether the sampling length is one the windows can be laid with.
bool isUsableSamplingLength(double samplingLength);

} // namespace Algos
