#include "SpacingParameters.h"

#include <cmath>

#include "AmplitudeParameters.h"
#include "Geometry.h"

namespace Algos {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kPeakDensityLength = 10000;
constexpr double kElementWidthShare = 0.01;   // of the sampling length
constexpr double kElementHeightShare = 0.1;   // of Rz
constexpr int kMinPointsForLength = 2;

// The accepted profile elements of a run of points about a mean line.
struct Elements
{
    double widthSum = 0;
    double heightSum = 0;
    int count = 0;
};

int firstBelowLine(const ProfileView& points, const LineValues& line)
{
    for (int i = 0; i < points.size; ++i) {
        if (points.heights[i] - line.at(points.x[i]) < 0)
            return i;
    }
    return points.size;
}

// An element runs from a downward crossing of the line to the next one and
// holds points above the line. One narrower than minWidth or lower than
// minHeight is not closed but merges with the element that follows it.
void addElements(const ProfileView& points, const LineValues& line, double minWidth, double minHeight,
                 Elements& elements)
{
    int i = firstBelowLine(points, line);
    if (i == points.size)
        return;
    double start = points.x[i];
    double previousX = start;
    double peak = points.heights[i] - line.at(start);
    double valley = peak;
    bool above = false;
    for (; i < points.size; ++i) {
        const double x = points.x[i];
        const double deviation = points.heights[i] - line.at(x);
        if (above) {
            if (deviation <= 0) {
                above = false;
                if (previousX - start > minWidth && peak - valley > minHeight) {
                    elements.widthSum += previousX - start;
                    elements.heightSum += peak - valley;
                    ++elements.count;
                    start = x;
                    peak = deviation;
                    valley = deviation;
                }
            }
        } else {
            above = deviation > 0;
        }
        previousX = x;
        peak = std::max(peak, deviation);
        valley = std::min(valley, deviation);
    }
}

// Downward crossings of the line after the first point below it.
int downwardCrossings(const ProfileView& points, const LineValues& line)
{
    int crossings = 0;
    bool above = false;
    for (int i = firstBelowLine(points, line); i < points.size; ++i) {
        const double deviation = points.heights[i] - line.at(points.x[i]);
        if (deviation > 0) {
            above = true;
        } else if (above) {
            ++crossings;
            above = false;
        }
    }
    return crossings;
}

double developedLength(const ProfileView& points)
{
    if (points.size <= 2)
        return 0;
    double length = 0;
    for (int i = 1; i < points.size; ++i) {
        const double dx = points.x[i] - points.x[i - 1];
        const double dh = points.heights[i] - points.heights[i - 1];
        length += std::sqrt(dx * dx + dh * dh);
    }
    return length;
}

// Local peaks are points higher than both neighbours.
double localPeakSpacing(const ProfileView& points)
{
    int peaks = 0;
    double firstPeak = 0;
    double lastPeak = 0;
    for (int i = 1; i + 1 < points.size; ++i) {
        if (points.heights[i] > points.heights[i - 1] && points.heights[i] > points.heights[i + 1]) {
            if (peaks == 0)
                firstPeak = points.x[i];
            lastPeak = points.x[i];
            ++peaks;
        }
    }
    return peaks > 0 ? (lastPeak - firstPeak) / peaks : 0;
}

template <typename SlopeValue>
double meanSlope(const SampledProfile& profile, SlopeValue value)
{
    const QVector<SampledProfile::Slopes>& all = profile.slopes();
    return profile.meanOverSegmentsWhere([&](int index) { return all.at(index).steps > 0; },
                                         [&](int index) { return value(all.at(index)); })
        * kDegreesPerRadian;
}

double wavelength(double amplitude, double slope)
{
    if (amplitude == 0 || slope == 0)
        return 0;
    return amplitude * kTwoPi / (slope * kRadiansPerDegree);
}

} // namespace

double RSm(const SampledProfile& profile)
{
    const double rz = Rz(profile);
    const RMS& line = profile.profileMeanLine();
    if (!(rz > 0) || !line.isValid())
        return 0;
    Elements elements;
    addElements(profile.points(), LineValues(line), kElementWidthShare * profile.samplingLength(),
                kElementHeightShare * rz, elements);
    return elements.count > 0 ? elements.widthSum / elements.count : 0;
}

double Rc(const SampledProfile& profile)
{
    const double rz = Rz(profile);
    if (!(rz > 0))
        return 0;
    const QVector<RMS>& lines = profile.meanLines();
    Elements elements;
    for (int index = 0; index < profile.segmentCount(); ++index) {
        if (lines.at(index).isValid()) {
            addElements(profile.segment(index), LineValues(lines.at(index)),
                        kElementWidthShare * profile.samplingLength(), kElementHeightShare * rz, elements);
        }
    }
    return elements.count > 0 ? elements.heightSum / elements.count : 0;
}

double S(const SampledProfile& profile)
{
    return localPeakSpacing(profile.points());
}

double D(const SampledProfile& profile)
{
    const QVector<RMS>& lines = profile.meanLines();
    return profile.meanOverSegmentsWhere(
        [&](int index) { return lines.at(index).isValid() && profile.segment(index).span() > 0; },
        [&](int index) {
            const ProfileView points = profile.segment(index);
            return downwardCrossings(points, LineValues(lines.at(index))) / (points.span() / kPeakDensityLength);
        });
}

double RDq(const SampledProfile& profile)
{
    return meanSlope(profile, [](const SampledProfile::Slopes& segment) {
        return std::sqrt(segment.sumSquares / segment.steps);
    });
}

double RDa(const SampledProfile& profile)
{
    return meanSlope(profile, [](const SampledProfile::Slopes& segment) { return segment.sumAbs / segment.steps; });
}

double lambdaQ(const SampledProfile& profile)
{
    return wavelength(Rq(profile), RDq(profile));
}

double lambdaA(const SampledProfile& profile)
{
    return wavelength(Ra(profile), RDa(profile));
}

double L0(const SampledProfile& profile)
{
    return profile.meanOverSegments(kMinPointsForLength,
                                    [](const ProfileView& points) { return developedLength(points); });
}

double l0(const SampledProfile& profile)
{
    return profile.meanOverSegments(kMinPointsForLength, [](const ProfileView& points) {
        return developedLength(points) / points.span();
    });
}

double RSm(const ProfileData& profile, double samplingLength)
{
    return RSm(SampledProfile(profile, samplingLength));
}

double Rc(const ProfileData& profile, double samplingLength)
{
    return Rc(SampledProfile(profile, samplingLength));
}

double S(const ProfileData& profile)
{
    return localPeakSpacing(ProfileView::of(profile));
}

double D(const ProfileData& profile, double samplingLength)
{
    return D(SampledProfile(profile, samplingLength));
}

double RDq(const ProfileData& profile, double samplingLength)
{
    return RDq(SampledProfile(profile, samplingLength));
}

double RDa(const ProfileData& profile, double samplingLength)
{
    return RDa(SampledProfile(profile, samplingLength));
}

double lambdaQ(const ProfileData& profile, double samplingLength)
{
    return lambdaQ(SampledProfile(profile, samplingLength));
}

double lambdaA(const ProfileData& profile, double samplingLength)
{
    return lambdaA(SampledProfile(profile, samplingLength));
}

double developedLength(const ProfileData& profile)
{
    return developedLength(ProfileView::of(profile));
}

double L0(const ProfileData& profile, double samplingLength)
{
    return L0(SampledProfile(profile, samplingLength));
}

double l0(const ProfileData& profile, double samplingLength)
{
    return l0(SampledProfile(profile, samplingLength));
}

} // namespace Algos
