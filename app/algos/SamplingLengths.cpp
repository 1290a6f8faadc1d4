#include "SamplingLengths.h"

#include <cmath>

#include "KeySlack.h"
#include "ProfileView.h"
#include "SampledProfile.h"
#include "SamplingWindows.h"

namespace Algos {

int samplingLengthCount(const QVector<double>& x, double samplingLength)
{
    if (x.isEmpty() || !isUsableSamplingLength(samplingLength))
        return 0;
    const double span = x.last() - x.first();
    if (!std::isfinite(span))
        return 0;
    const double slack = keySlack(x.first(), x.last());
    for (int count = 1; count <= SamplingWindows::kMaxCount; ++count) {
        if (span + slack < count * samplingLength)
            return count - 1;
    }
    return SamplingWindows::kMaxCount;
}

QVector<ProfileData> splitIntoSamplingLengths(const ProfileData& profile, double samplingLength)
{
    const SampledProfile sampled(profile, samplingLength);
    QVector<ProfileData> segments;
    for (int index = 0; index < sampled.segmentCount(); ++index) {
        const ProfileView points = sampled.segment(index);
        segments.append({QVector<double>(points.x, points.x + points.size),
                         QVector<double>(points.heights, points.heights + points.size)});
    }
    return segments;
}

RMS meanLine(const ProfileData& profile)
{
    return profile.size() < 2 ? RMS() : RMS(profile.at(0), profile.at(1));
}

} // namespace Algos
