#pragma once

#include <QVector>

namespace Algos {

// Where the sampling lengths of a profile lie along x. Up to five windows of
// one sampling length each; from two on they are spread evenly with equal gaps
// so that the first starts at the first x and the last ends at the last x. A
// profile shorter than two sampling lengths gets one window from its first x.
// No window at all for an empty x column, a sampling length that is not a
// positive number, or an x extent that is not finite. Keys within the slack of
// a rounding (keySlack) of a bound count as lying on it: an extent that falls
// short of whole sampling lengths by that much spans them, and a key that far
// outside a window is in it.
class SamplingWindows
{
public:
    SamplingWindows(const QVector<double>& x, double samplingLength);

    int count() const { return m_starts.size(); }
    double start(int window) const { return m_starts.at(window); }
    double end(int window) const { return m_ends.at(window); }

    // The least and the greatest key the window takes in: its start and its
    // end widened by the slack.
    double lowestKey(int window) const { return start(window) - m_slack; }
    double highestKey(int window) const { return end(window) + m_slack; }

    // The first window with lowestKey <= x <= highestKey, or -1.
    int windowOf(double x) const;

    static constexpr int kMaxCount = 5;

private:
    QVector<double> m_starts;
    QVector<double> m_ends;
    double m_slack = 0;
};

// Whether the sampling length is one the windows can be laid with.
bool isUsableSamplingLength(double samplingLength);

} // namespace Algos
