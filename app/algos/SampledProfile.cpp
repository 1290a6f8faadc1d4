#include "SampledProfile.h"

#include <algorithm>
#include <limits>

#include "SamplingLengths.h"

namespace Algos {

namespace {

bool isAscending(const ProfileView& points)
{
    for (int i = 1; i < points.size; ++i) {
        if (!(points.x[i] >= points.x[i - 1]))
            return false;
    }
    return true;
}

// The three highest and the three lowest of a run of values, duplicates
// counted, as the third entries from either end of the sorted values.
class ThirdExtremes
{
public:
    void add(double value)
    {
        if (value > m_high[0]) {
            m_high[2] = m_high[1];
            m_high[1] = m_high[0];
            m_high[0] = value;
        } else if (value > m_high[1]) {
            m_high[2] = m_high[1];
            m_high[1] = value;
        } else if (value > m_high[2]) {
            m_high[2] = value;
        }
        if (value < m_low[0]) {
            m_low[2] = m_low[1];
            m_low[1] = m_low[0];
            m_low[0] = value;
        } else if (value < m_low[1]) {
            m_low[2] = m_low[1];
            m_low[1] = value;
        } else if (value < m_low[2]) {
            m_low[2] = value;
        }
    }

    double thirdHighest() const { return m_high[2]; }
    double thirdLowest() const { return m_low[2]; }

private:
    static constexpr double kInf = std::numeric_limits<double>::infinity();
    double m_high[3] = {-kInf, -kInf, -kInf};
    double m_low[3] = {kInf, kInf, kInf};
};

SampledProfile::Deviations summariseDeviations(const ProfileView& points, const RMS& line)
{
    SampledProfile::Deviations result;
    if (points.size < SampledProfile::kMinPointsForMeanLine)
        return result;
    const LineValues mean(line);
    ThirdExtremes extremes;
    double highest = points.heights[0] - mean.at(points.x[0]);
    double lowest = highest;
    double sumAbs = 0;
    double sumSquares = 0;
    double sumCubes = 0;
    double sumFourthPowers = 0;
    for (int i = 0; i < points.size; ++i) {
        const double deviation = points.heights[i] - mean.at(points.x[i]);
        const double square = deviation * deviation;
        sumAbs += std::abs(deviation);
        sumSquares += square;
        sumCubes += square * deviation;
        sumFourthPowers += square * square;
        highest = std::max(highest, deviation);
        lowest = std::min(lowest, deviation);
        extremes.add(deviation);
    }
    result.count = points.size;
    result.sumAbs = sumAbs;
    result.sumSquares = sumSquares;
    result.sumCubes = sumCubes;
    result.sumFourthPowers = sumFourthPowers;
    result.highest = highest;
    result.lowest = lowest;
    result.thirdHighest = extremes.thirdHighest();
    result.thirdLowest = extremes.thirdLowest();
    return result;
}

SampledProfile::Slopes summariseSlopes(const ProfileView& points)
{
    SampledProfile::Slopes result;
    for (int i = 1; i < points.size; ++i) {
        const double run = points.x[i] - points.x[i - 1];
        // A repeated x (the stage standing still) has no slope.
        if (run == 0)
            continue;
        const double slope = (points.heights[i] - points.heights[i - 1]) / run;
        result.sumSquares += slope * slope;
        result.sumAbs += std::abs(slope);
        ++result.steps;
    }
    return result;
}

} // namespace

RMS fitLine(const ProfileView& points)
{
    return RMS(points.begin(), points.end());
}

SampledProfile::SampledProfile(const ProfileData& profile, double samplingLength)
    : m_profile(profile), m_samplingLength(samplingLength)
{
    if (m_profile.size() < 2 || points().size == 0)
        return;
    m_samplingLengthCount = Algos::samplingLengthCount(m_profile.at(0), samplingLength);
    const SamplingWindows windows(m_profile.at(0), samplingLength);
    if (isAscending(points()))
        takeRangesOfAscendingProfile(windows);
    else
        gatherPointsByWindow(windows);
}

// With x ascending the points of every window are one run of the profile; a
// point on the border of two touching or overlapping windows is the first's.
void SampledProfile::takeRangesOfAscendingProfile(const SamplingWindows& windows)
{
    const ProfileView all = points();
    const double* const xEnd = all.x + all.size;
    int previousEnd = 0;
    for (int window = 0; window < windows.count(); ++window) {
        const int begin = std::max(int(std::lower_bound(all.x, xEnd, windows.lowestKey(window)) - all.x), previousEnd);
        const int end = std::max(int(std::upper_bound(all.x, xEnd, windows.highestKey(window)) - all.x), begin);
        m_segments.append({-1, begin, end - begin});
        previousEnd = end;
    }
}

void SampledProfile::gatherPointsByWindow(const SamplingWindows& windows)
{
    m_gathered.fill(ProfileData(2), windows.count());
    const ProfileView all = points();
    for (int i = 0; i < all.size; ++i) {
        const int window = windows.windowOf(all.x[i]);
        if (window < 0)
            continue;
        ProfileData& segment = m_gathered[window];
        segment[0].append(all.x[i]);
        segment[1].append(all.heights[i]);
    }
    for (int window = 0; window < windows.count(); ++window)
        m_segments.append({window, 0, m_gathered.at(window).at(0).size()});
}

ProfileView SampledProfile::segment(int index) const
{
    const Range& range = m_segments.at(index);
    const ProfileView store = range.store < 0 ? points() : ProfileView::of(m_gathered.at(range.store));
    return store.mid(range.begin, range.count);
}

const QVector<RMS>& SampledProfile::meanLines() const
{
    if (!m_meanLines) {
        QVector<RMS> lines;
        for (int index = 0; index < segmentCount(); ++index) {
            const ProfileView points = segment(index);
            lines.append(points.size >= kMinPointsForMeanLine ? fitLine(points) : RMS());
        }
        m_meanLines = lines;
    }
    return *m_meanLines;
}

const QVector<SampledProfile::Deviations>& SampledProfile::deviations() const
{
    if (!m_deviations) {
        const QVector<RMS>& lines = meanLines();
        QVector<Deviations> all;
        for (int index = 0; index < segmentCount(); ++index)
            all.append(summariseDeviations(segment(index), lines.at(index)));
        m_deviations = all;
    }
    return *m_deviations;
}

const QVector<SampledProfile::Slopes>& SampledProfile::slopes() const
{
    if (!m_slopes) {
        QVector<Slopes> all;
        for (int index = 0; index < segmentCount(); ++index)
            all.append(summariseSlopes(segment(index)));
        m_slopes = all;
    }
    return *m_slopes;
}

const RMS& SampledProfile::profileMeanLine() const
{
    if (!m_profileMeanLine)
        m_profileMeanLine = points().size >= kMinPointsForMeanLine ? meanLine(m_profile) : RMS();
    return *m_profileMeanLine;
}

} // namespace Algos
