#include "SamplingWindows.h"

#include <cmath>

#include "KeySlack.h"

namespace Algos {

bool isUsableSamplingLength(double samplingLength)
{
    return std::isfinite(samplingLength) && samplingLength > 0;
}

SamplingWindows::SamplingWindows(const QVector<double>& x, double samplingLength)
{
    if (x.isEmpty() || !isUsableSamplingLength(samplingLength))
        return;
    const double first = x.first();
    const double span = x.last() - first;
    if (!std::isfinite(span))
        return;
    m_slack = keySlack(first, x.last());

    const double whole = std::floor((span + m_slack) / samplingLength);
    int windows = 1;
    double gap = 0;
    if (whole > kMaxCount) {
        windows = kMaxCount;
        gap = (span - kMaxCount * samplingLength) / (kMaxCount - 1);
    } else if (whole > 1) {
        windows = int(whole);
        gap = (span - windows * samplingLength) / (windows - 1);
    }

    double start = first;
    for (int window = 0; window < windows; ++window) {
        m_starts.append(start);
        m_ends.append(start + samplingLength);
        start = start + samplingLength + gap;
    }
}

int SamplingWindows::windowOf(double x) const
{
    for (int window = 0; window < m_starts.size(); ++window) {
        if (lowestKey(window) <= x && x <= highestKey(window))
            return window;
    }
    return -1;
}

} // namespace Algos
