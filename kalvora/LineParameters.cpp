#include "LineParameters.h"

#include <cmath>
#include <vector>

namespace kalvora {

namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;
constexpr int kTenPointPairs = 5;

struct HeightSummary
{
    double mean = 0;
    double min = 0;
    double max = 0;
    double meanAbsDeviation = 0;
    double rmsDeviation = 0;
};

HeightSummary summarize(const double* z, std::size_t n)
{
    HeightSummary s;
    s.min = z[0];
    s.max = z[0];
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sum += z[i];
        if (z[i] < s.min)
            s.min = z[i];
        if (z[i] > s.max)
            s.max = z[i];
    }
    s.mean = sum / static_cast<double>(n);
    double squares = 0, absolutes = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double d = z[i] - s.mean;
        squares += d * d;
        absolutes += std::fabs(d);
    }
    s.meanAbsDeviation = absolutes / static_cast<double>(n);
    s.rmsDeviation = std::sqrt(squares / static_cast<double>(n));
    return s;
}

// Indexes j with z[j] above and z[j + 1] below the mean, both strictly.
std::vector<std::size_t> downwardCrossings(const double* z, std::size_t n, double mean)
{
    std::vector<std::size_t> crossings;
    for (std::size_t j = 0; j + 1 < n; ++j) {
        if (z[j] > mean && z[j + 1] < mean)
            crossings.push_back(j);
    }
    return crossings;
}

// Needs at least two indexes.
double meanSpacing(const double* x, const std::vector<std::size_t>& indexes)
{
    double sum = 0;
    for (std::size_t k = 0; k + 1 < indexes.size(); ++k)
        sum += std::fabs(x[indexes[k]] - x[indexes[k + 1]]);
    return sum / static_cast<double>(indexes.size() - 1);
}

// Average of the five largest peak-to-valley heights, peaks and valleys taken
// per interval between neighbouring crossings. Needs at least six crossings.
double tenPointHeight(const double* z, const std::vector<std::size_t>& crossings, double mean)
{
    std::vector<double> tops, bottoms;
    for (std::size_t k = 0; k + 1 < crossings.size(); ++k) {
        double top = -1e20, bottom = 1e20;
        for (std::size_t i = crossings[k]; i <= crossings[k + 1]; ++i) {
            top = std::max(top, z[i]);
            bottom = std::min(bottom, z[i]);
        }
        tops.push_back(top);
        bottoms.push_back(bottom);
    }
    double sum = 0;
    for (int pick = 0; pick < kTenPointPairs; ++pick) {
        std::size_t highest = 0, lowest = 0;
        for (std::size_t k = 1; k < tops.size(); ++k) {
            if (tops[k] > tops[highest])
                highest = k;
            if (bottoms[k] < bottoms[lowest])
                lowest = k;
        }
        sum += std::fabs(bottoms[lowest] - mean) + std::fabs(tops[highest] - mean);
        bottoms[lowest] = 1e20;
        tops[highest] = -1e20;
    }
    return sum * 0.2;
}

// Local peaks of `heights`, a flat top counting at its last point: where two
// neighbours are equal the first takes the height before it. The changed
// heights stay in `heights`.
std::vector<std::size_t> flattenedLocalPeaks(std::vector<double>& heights)
{
    std::vector<std::size_t> peaks;
    for (std::size_t l = 1; l + 1 < heights.size(); ++l) {
        if (heights[l] == heights[l + 1])
            heights[l] = heights[l - 1];
        if (heights[l] > heights[l - 1] && heights[l] > heights[l + 1])
            peaks.push_back(l);
    }
    return peaks;
}

void writeSlopesAndLength(Results& r, const double* x, const double* z, std::size_t n, double step)
{
    double squares = 0, absolutes = 0, length = 0;
    for (std::size_t j = 0; j + 1 < n; ++j) {
        const double dz = z[j + 1] - z[j];
        const double dx = x[j + 1] - x[j];
        squares += dz * dz;
        absolutes += std::fabs(dz);
        length += std::sqrt(dx * dx + dz * dz);
    }
    const double intervals = static_cast<double>(n - 1);
    r[kDevelopedLength] = length;
    r[kDevelopedLengthRatio] = length / x[n - 1];
    r[kMeanSlopeAngle] = std::atan(absolutes / intervals / step) * kDegreesPerRadian;
    r[kRmsSlopeAngle] = std::atan(std::sqrt(squares / intervals) / step) * kDegreesPerRadian;
}

double meanDepthBelowTop(const double* x, const std::vector<double>& heights, double max)
{
    double sum = 0;
    for (std::size_t j = 0; j + 1 < heights.size(); ++j)
        sum += (x[j + 1] - x[j]) * (max - heights[j] * 0.5 - heights[j + 1] * 0.5);
    return sum * 0.1 / x[heights.size() - 1];
}

} // namespace

void presetRoughnessParameters(Results& r)
{
    for (int i = 0; i < kResultCount; ++i) {
        if (i != kCallerEntry)
            r[i] = kNoValue;
    }
}

void computeRoughnessParameters(Results& r, const double* x, const double* z, std::size_t n, double step)
{
    const HeightSummary s = summarize(z, n);
    r[kArithmeticMeanDeviation] = s.meanAbsDeviation;
    r[kRmsDeviation] = s.rmsDeviation;
    r[kTotalHeight] = s.max - s.min;
    r[kPeakHeight] = s.max - s.mean;
    r[kValleyDepth] = s.mean - s.min;

    const std::vector<std::size_t> crossings = downwardCrossings(z, n, s.mean);
    if (crossings.size() >= 2) {
        const double spacing = meanSpacing(x, crossings);
        r[kCrossingSpacing] = spacing;
        if (spacing > 0)
            r[kCrossingDensity] = 10000.0 / spacing;
    }
    if (crossings.size() >= kTenPointPairs + 1)
        r[kTenPointHeight] = tenPointHeight(z, crossings, s.mean);

    writeSlopesAndLength(r, x, z, n, step);

    std::vector<double> heights(z, z + n);
    const std::vector<std::size_t> peaks = flattenedLocalPeaks(heights);
    if (peaks.size() >= 2)
        r[kPeakSpacing] = meanSpacing(x, peaks);

    r[kMeanWavelength] = r[kArithmeticMeanDeviation] * 360.0 / r[kMeanSlopeAngle];
    r[kRmsWavelength] = r[kArithmeticMeanDeviation] * 360.0 / r[kRmsSlopeAngle];
    if (n > 2)
        r[kMeanDepthBelowTop] = meanDepthBelowTop(x, heights, s.max);
}

void computeWavinessParameters(Results& r, const double* x, const double* z, std::size_t n)
{
    const HeightSummary s = summarize(z, n);
    r[kWavinessMeanDeviation] = s.meanAbsDeviation;
    r[kWavinessRmsDeviation] = s.rmsDeviation;
    r[kWavinessTotalHeight] = s.max - s.min;
    const std::vector<std::size_t> crossings = downwardCrossings(z, n, s.mean);
    if (crossings.size() >= 2)
        r[kWavinessCrossingSpacing] = meanSpacing(x, crossings);
}

} // namespace kalvora
