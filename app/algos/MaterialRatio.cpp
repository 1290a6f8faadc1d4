#include "MaterialRatio.h"

#include <cmath>
#include <limits>
#include <optional>

#include "LevelCounter.h"

namespace Algos {

namespace {

constexpr int kCurveRows = 100;
constexpr double kSecantSpan = 40;  // percent of material ratio
constexpr int kMinPointsAtLevel = 3;

// The secant of a curve with the values it is read at.
struct CoreOfCurve
{
    LineValues line;
    double firstRatio;
    double lastRatio;
    double firstLevel;
    double lastLevel;

    double upperLevel() const { return line.at(firstRatio); }
    double lowerLevel() const { return line.at(lastRatio); }
};

std::optional<CoreOfCurve> coreOfCurve(const ProfileData& curve)
{
    if (curve.size() < 2 || curve.at(0).size() < 2 || curve.at(1).size() != curve.at(0).size())
        return std::nullopt;
    const RMS secant = leastSlopeSecant(curve);
    if (!secant.isValid())
        return std::nullopt;
    const QVector<double>& ratios = curve.at(0);
    const QVector<double>& levels = curve.at(1);
    return CoreOfCurve{LineValues(secant), ratios.first(), ratios.last(), levels.first(), levels.last()};
}

// The ratio of the first row at or below the level, if any.
std::optional<double> ratioWhereCurveReaches(const ProfileData& curve, double level)
{
    const QVector<double>& levels = curve.at(1);
    for (int row = 0; row < levels.size(); ++row) {
        if (levels.at(row) <= level)
            return curve.at(0).at(row);
    }
    return std::nullopt;
}

bool heightRange(const QVector<double>& heights, double& lowest, double& highest)
{
    lowest = heights.first();
    highest = lowest;
    for (double height : heights) {
        if (!std::isfinite(height))
            return false;
        lowest = std::min(lowest, height);
        highest = std::max(highest, height);
    }
    return true;
}

double materialLengthAtLevel(const ProfileView& points, double level)
{
    if (points.size < 2)
        return 0;
    double length = 0;
    double start = 0;
    bool inside = false;
    for (int i = 0; i < points.size; ++i) {
        if (points.heights[i] > level && !inside) {
            start = points.x[i];
            inside = true;
        } else if (points.heights[i] < level && inside) {
            length += points.x[i] - start;
            inside = false;
        }
    }
    return length;
}

} // namespace

ProfileData materialRatioCurve(const ProfileData& profile)
{
    ProfileData curve(2);
    if (profile.size() < 2 || profile.at(1).isEmpty())
        return curve;
    const QVector<double>& heights = profile.at(1);
    double lowest = 0;
    double highest = 0;
    if (!heightRange(heights, lowest, highest) || !(highest - lowest > 0))
        return curve;

    QVector<double> levels;
    levels.reserve(kCurveRows);
    for (int j = 0; j < kCurveRows; ++j)
        levels.append(lowest + (highest - lowest) / 100 * j);
    const LevelCounter counter(levels, heights);
    const double all = counter.atOrAbove(0);
    curve[0].reserve(kCurveRows);
    curve[1].reserve(kCurveRows);
    for (int j = kCurveRows - 1; j >= 0; --j) {
        curve[0].append(counter.atOrAbove(j) / all * 100);
        curve[1].append(levels.at(j));
    }
    return curve;
}

RMS leastSlopeSecant(const ProfileData& curve)
{
    RMS best;
    const ProfileView rows = ProfileView::of(curve);
    const double* const ratios = rows.x;
    double leastGradient = std::numeric_limits<double>::max();
    int first = 0;
    for (int row = 0; row < rows.size; ++row) {
        while (first < row && ratios[row] - ratios[first] >= kSecantSpan) {
            const RMS line = fitLine(rows.mid(first, row - first + 1));
            const double gradient = std::abs(line.coefficient(1));
            if (gradient < leastGradient) {
                best = line;
                leastGradient = gradient;
            }
            ++first;
        }
    }
    return best;
}

double Rk(const ProfileData& curve)
{
    const std::optional<CoreOfCurve> core = coreOfCurve(curve);
    return core ? core->upperLevel() - core->lowerLevel() : 0;
}

double Rpk(const ProfileData& curve)
{
    const std::optional<CoreOfCurve> core = coreOfCurve(curve);
    return core ? core->firstLevel - core->upperLevel() : 0;
}

double Rvk(const ProfileData& curve)
{
    const std::optional<CoreOfCurve> core = coreOfCurve(curve);
    return core ? core->lowerLevel() - core->lastLevel : 0;
}

double Mr1(const ProfileData& curve)
{
    const std::optional<CoreOfCurve> core = coreOfCurve(curve);
    return core ? ratioWhereCurveReaches(curve, core->upperLevel()).value_or(0) : 0;
}

double Mr2(const ProfileData& curve)
{
    const std::optional<CoreOfCurve> core = coreOfCurve(curve);
    return core ? ratioWhereCurveReaches(curve, core->lowerLevel()).value_or(100) : 0;
}

double materialLengthAtLevel(const ProfileData& profile, double level)
{
    return materialLengthAtLevel(ProfileView::of(profile), level);
}

double etaP(const SampledProfile& profile, double level)
{
    return profile.meanOverSegments(kMinPointsAtLevel, [level](const ProfileView& points) {
        return materialLengthAtLevel(points, level);
    });
}

double tp(const SampledProfile& profile, double level)
{
    return profile.meanOverSegments(kMinPointsAtLevel, [level](const ProfileView& points) {
        return materialLengthAtLevel(points, level) / points.span();
    });
}

double etaP(const ProfileData& profile, double samplingLength, double level)
{
    return etaP(SampledProfile(profile, samplingLength), level);
}

double tp(const ProfileData& profile, double samplingLength, double level)
{
    return tp(SampledProfile(profile, samplingLength), level);
}

} // namespace Algos
