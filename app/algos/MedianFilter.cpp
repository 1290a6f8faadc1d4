#include "MedianFilter.h"

#include <algorithm>

namespace Algos {

namespace {

// The heights with half a window added at each end: in front the heights
// y[1] .. y[half], behind the last heights mirrored, the last one twice.
QVector<double> paddedHeights(const QVector<double>& y, int half)
{
    const int n = y.size();
    QVector<double> padded;
    padded.reserve(n + 2 * half);
    for (int i = 1; i <= half; ++i)
        padded.append(y[i]);
    padded.append(y);
    for (int i = 0; i < half; ++i)
        padded.append(y[n - 1 - i]);
    return padded;
}

} // namespace

void medianFilter(int window, ProfileData& profile)
{
    if (profile.size() < 2 || window < 1 || profile[1].size() < window)
        return;
    QVector<double>& y = profile[1];
    const int half = window / 2;
    const QVector<double> padded = paddedHeights(y, half);

    QVector<double> scratch(window);
    for (int j = 0; j < y.size(); ++j) {
        std::copy(padded.begin() + j, padded.begin() + j + window, scratch.begin());
        std::nth_element(scratch.begin(), scratch.begin() + half, scratch.end());
        y[j] = scratch[half];
    }
}

} // namespace Algos
