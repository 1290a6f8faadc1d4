#include "AmplitudeParameters.h"

#include <algorithm>
#include <cmath>

#include "SamplingLengths.h"

namespace Algos {

namespace {

using Deviations = SampledProfile::Deviations;

// Sum of a per-point sum over all points with a mean line, divided by their number.
double pooled(const SampledProfile& profile, double Deviations::*sum)
{
    if (profile.samplingLengthCount() == 0)
        return 0;
    double total = 0;
    qint64 points = 0;
    for (const Deviations& segment : profile.deviations()) {
        total += segment.*sum;
        points += segment.count;
    }
    return points > 0 ? total / double(points) : 0;
}

// Mean of a per-segment value over the segments with at least minPoints points.
template <typename DeviationsValue>
double averaged(const SampledProfile& profile, int minPoints, DeviationsValue value)
{
    const QVector<Deviations>& all = profile.deviations();
    const int needed = std::max(minPoints, SampledProfile::kMinPointsForMeanLine);
    return profile.meanOverSegmentsWhere([&](int index) { return all.at(index).count >= needed; },
                                         [&](int index) { return value(all.at(index)); });
}

// The pooled mean of a power of the deviations over Rq to that power; 0 for
// a profile without deviations, where the ratio has no value.
double normalisedMoment(const SampledProfile& profile, double Deviations::*sum, int power)
{
    const double rq = Rq(profile);
    if (rq == 0)
        return 0;
    return pooled(profile, sum) / std::pow(rq, power);
}

// Highest minus lowest deviation of the points from the line.
double rangeAboutLine(const ProfileView& points, const RMS& line)
{
    if (points.size < SampledProfile::kMinPointsForMeanLine || !line.isValid())
        return 0;
    const LineValues mean(line);
    double highest = points.heights[0] - mean.at(points.x[0]);
    double lowest = highest;
    for (int i = 1; i < points.size; ++i) {
        const double deviation = points.heights[i] - mean.at(points.x[i]);
        highest = std::max(highest, deviation);
        lowest = std::min(lowest, deviation);
    }
    return highest - lowest;
}

} // namespace

double Ra(const SampledProfile& profile)
{
    return pooled(profile, &Deviations::sumAbs);
}

double Rq(const SampledProfile& profile)
{
    return std::sqrt(pooled(profile, &Deviations::sumSquares));
}

double Rsk(const SampledProfile& profile)
{
    return normalisedMoment(profile, &Deviations::sumCubes, 3);
}

double Rku(const SampledProfile& profile)
{
    return normalisedMoment(profile, &Deviations::sumFourthPowers, 4);
}

double Rz(const SampledProfile& profile)
{
    return averaged(profile, 0, [](const Deviations& segment) { return segment.highest - segment.lowest; });
}

double Rm(const SampledProfile& profile)
{
    return Rz(profile);
}

double Rp(const SampledProfile& profile)
{
    return averaged(profile, 0, [](const Deviations& segment) { return segment.highest; });
}

double Rv(const SampledProfile& profile)
{
    return averaged(profile, 0, [](const Deviations& segment) { return std::abs(segment.lowest); });
}

double R3z(const SampledProfile& profile)
{
    return averaged(profile, 3, [](const Deviations& segment) { return segment.thirdHighest - segment.thirdLowest; });
}

double Rmax(const SampledProfile& profile)
{
    return profile.meanOverSegments(1, [](const ProfileView& points) {
        const auto [lowest, highest] = std::minmax_element(points.heights, points.heights + points.size);
        return *highest - *lowest;
    });
}

double Rt(const SampledProfile& profile)
{
    return rangeAboutLine(profile.points(), profile.profileMeanLine());
}

double Ra(const ProfileData& profile, double samplingLength)
{
    return Ra(SampledProfile(profile, samplingLength));
}

double Rq(const ProfileData& profile, double samplingLength)
{
    return Rq(SampledProfile(profile, samplingLength));
}

double Rsk(const ProfileData& profile, double samplingLength)
{
    return Rsk(SampledProfile(profile, samplingLength));
}

double Rku(const ProfileData& profile, double samplingLength)
{
    return Rku(SampledProfile(profile, samplingLength));
}

double Rmax(const ProfileData& profile, double samplingLength)
{
    return Rmax(SampledProfile(profile, samplingLength));
}

double Rz(const ProfileData& profile, double samplingLength)
{
    return Rz(SampledProfile(profile, samplingLength));
}

double Rm(const ProfileData& profile, double samplingLength)
{
    return Rm(SampledProfile(profile, samplingLength));
}

double Rp(const ProfileData& profile, double samplingLength)
{
    return Rp(SampledProfile(profile, samplingLength));
}

double Rv(const ProfileData& profile, double samplingLength)
{
    return Rv(SampledProfile(profile, samplingLength));
}

double R3z(const ProfileData& profile, double samplingLength)
{
    return R3z(SampledProfile(profile, samplingLength));
}

double Rt(const ProfileData& profile)
{
    return rangeAboutLine(ProfileView::of(profile), meanLine(profile));
}

} // namespace Algos
