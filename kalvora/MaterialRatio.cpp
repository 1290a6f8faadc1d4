#include "MaterialRatio.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kalvora {

namespace {

constexpr int kLevels = 101;
constexpr int kLastLevel = kLevels - 1;
constexpr int kBins = 200;
constexpr int kSecantHalfWidth = 3;
constexpr double kCoreHalfShare = 20.0;

using LevelCurve = std::array<double, kLevels>;

// Integer part of a non-negative position, clamped to 0..last; NaN counts as 0.
int clampedIndex(double position, int last)
{
    if (!(position > 0))
        return 0;
    if (position >= last)
        return last;
    return static_cast<int>(position);
}

struct HeightRange
{
    double max = 0;
    double min = 0;

    bool isFlat() const { return !(max > min); }
    double span() const { return max - min; }

    // Depth below the highest point in `divisions` of the range; 0 for a flat profile.
    double depth(double z, double divisions) const { return isFlat() ? 0.0 : (max - z) * divisions / span(); }
};

HeightRange rangeOf(const double* z, std::size_t n)
{
    HeightRange range{z[0], z[0]};
    for (std::size_t i = 1; i < n; ++i) {
        range.max = std::max(range.max, z[i]);
        range.min = std::min(range.min, z[i]);
    }
    return range;
}

// Share of points (per cent) in the window of 2w half-level bins centred on `level`.
double amplitudeDensity(const double* z, std::size_t n, const HeightRange& range, long long w, int level)
{
    std::array<double, kBins> histogram{};
    for (std::size_t i = 0; i < n; ++i)
        histogram[clampedIndex(range.depth(z[i], kBins), kBins - 1)] += 100.0;

    const long long first = std::max(0LL, 2LL * level - w);
    const long long last = std::min<long long>(kBins - 1, 2LL * level + w - 1);
    double sum = 0;
    for (long long j = first; j <= last; ++j)
        sum += histogram[j];
    return sum / static_cast<double>(n);
}

// Per cent of the points whose level lies above (is smaller than) each level.
LevelCurve materialRatioCurve(const double* z, std::size_t n, const HeightRange& range)
{
    LevelCurve counts{};
    for (std::size_t i = 0; i < n; ++i)
        counts[clampedIndex(range.depth(z[i], kLastLevel), kLastLevel)] += 1.0;

    LevelCurve ratio{};
    double above = 0;
    for (int k = 1; k < kLevels; ++k) {
        above += counts[k - 1];
        ratio[k] = above / (0.01 * static_cast<double>(n));
    }
    return ratio;
}

// Level where the material ratio grows fastest over a secant of six levels.
int steepestLevel(const LevelCurve& tp)
{
    int best = kSecantHalfWidth;
    double rise = tp[2 * kSecantHalfWidth] - tp[0];
    for (int k = kSecantHalfWidth + 1; k <= kLastLevel - kSecantHalfWidth; ++k) {
        if (tp[k + kSecantHalfWidth] - tp[k - kSecantHalfWidth] > rise) {
            rise = tp[k + kSecantHalfWidth] - tp[k - kSecantHalfWidth];
            best = k;
        }
    }
    return best;
}

struct CoreLine
{
    double levelAtNone = 0; // level where the fitted line meets 0 % material
    double levelAtAll = 0;  // and 100 %
};

// Least-squares line of level against material ratio over the 40 % window
// around the steepest level.
CoreLine fitCoreLine(const LevelCurve& tp)
{
    const int kc = steepestLevel(tp);
    int lo = 0;
    for (int k = 0; k < kc; ++k) {
        if (tp[k] < tp[kc] - kCoreHalfShare)
            lo = k;
    }
    int hi = kLastLevel;
    for (int k = kLastLevel; k > kc; --k) {
        if (tp[k] > tp[kc] + kCoreHalfShare)
            hi = k;
    }

    double count = 0, sT = 0, sTT = 0, sK = 0, sKT = 0;
    for (int k = lo; k <= hi; ++k) {
        count += 1;
        sT += tp[k];
        sTT += tp[k] * tp[k];
        sK += k;
        sKT += k * tp[k];
    }
    const double den = count * sTT - sT * sT;
    const double slope = (count * sKT - sK * sT) / den;
    const double intercept = (sK * sTT - sT * sKT) / den;
    return {intercept, intercept + 100.0 * slope};
}

bool isLevel(double level)
{
    return level >= 0 && level <= kLastLevel;
}

double ratioAt(const LevelCurve& tp, double level)
{
    const int i = std::min(static_cast<int>(level), kLastLevel - 1);
    return tp[i] + (tp[i + 1] - tp[i]) * (level - i);
}

void writeCore(Results& r, const LevelCurve& tp, const HeightRange& range)
{
    const CoreLine line = fitCoreLine(tp);
    const double perLevel = 0.01 * range.span();
    if (isLevel(line.levelAtNone)) {
        r[kReducedPeakHeight] = perLevel * line.levelAtNone;
        r[kUpperMaterialRatio] = ratioAt(tp, line.levelAtNone);
    }
    if (isLevel(line.levelAtAll)) {
        r[kReducedValleyDepth] = perLevel * (kLastLevel - line.levelAtAll);
        r[kLowerMaterialRatio] = ratioAt(tp, line.levelAtAll);
    }
    if (isLevel(line.levelAtNone) && isLevel(line.levelAtAll))
        r[kCoreDepth] = perLevel * (line.levelAtAll - line.levelAtNone);
}

} // namespace

void computeMaterialRatio(Results& r, const double* z, std::size_t n, long long smoothing, int level)
{
    const HeightRange range = rangeOf(z, n);
    const LevelCurve tp = materialRatioCurve(z, n, range);
    r[kAmplitudeDensity] = amplitudeDensity(z, n, range, 51 - smoothing, level);
    r[kMaterialRatio] = tp[level];
    r[kLevel] = level;
    if (!range.isFlat())
        writeCore(r, tp, range);
}

} // namespace kalvora
