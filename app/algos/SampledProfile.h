#pragma once

#include <QVector>

#include <optional>

#include "ProfileData.h"
#include "ProfileView.h"
#include "RMS.h"
#include "SamplingWindows.h"

namespace Algos {

// A profile divided into its sampling lengths (segments), each with its own
// mean line, and the per-segment sums that the parameters are made of. Lines
// and sums are worked out on first use and kept, so that every parameter
// computed from one SampledProfile shares them. Not for two threads at once.
class SampledProfile
{
public:
    // Deviations (height minus the segment's mean line at x) of one segment.
    // Segments with fewer than kMinPointsForMeanLine points have count 0.
    struct Deviations
    {
        int count = 0;
        double sumAbs = 0;
        double sumSquares = 0;
        double sumCubes = 0;
        double sumFourthPowers = 0;
        double highest = 0;
        double lowest = 0;
        double thirdHighest = 0;  // the third of the deviations sorted from the highest; count >= 3
        double thirdLowest = 0;   // the third from the lowest; count >= 3
    };

    // Local slopes (h_i - h_(i-1)) / (x_i - x_(i-1)) of one segment's own
    // heights; steps between points of the same x are left out.
    struct Slopes
    {
        int steps = 0;
        double sumSquares = 0;
        double sumAbs = 0;
    };

    static constexpr int kMinPointsForMeanLine = 2;

    SampledProfile(const ProfileData& profile, double samplingLength);
    SampledProfile(const SampledProfile&) = delete;
    SampledProfile& operator=(const SampledProfile&) = delete;

    const ProfileData& profile() const { return m_profile; }
    ProfileView points() const { return ProfileView::of(m_profile); }
    double samplingLength() const { return m_samplingLength; }

    // How many whole sampling lengths the profile spans, at most five; every
    // parameter over sampling lengths is 0 when this is 0.
    int samplingLengthCount() const { return m_samplingLengthCount; }

    int segmentCount() const { return m_segments.size(); }
    ProfileView segment(int index) const;

    // One per segment; not valid for a segment with too few points for a line.
    const QVector<RMS>& meanLines() const;
    // One per segment.
    const QVector<Deviations>& deviations() const;
    const QVector<Slopes>& slopes() const;
    // The line fitted to the whole profile; not valid below two points.
    const RMS& profileMeanLine() const;

    // The mean of value(index) over the segments whose index accept takes; 0
    // when it takes none or the profile is shorter than one sampling length.
    template <typename Accept, typename SegmentValue>
    double meanOverSegmentsWhere(Accept accept, SegmentValue value) const
    {
        if (m_samplingLengthCount == 0)
            return 0;
        double total = 0;
        int used = 0;
        for (int index = 0; index < segmentCount(); ++index) {
            if (accept(index)) {
                total += value(index);
                ++used;
            }
        }
        return used > 0 ? total / used : 0;
    }

    // The mean of value(points of the segment) over the segments of at least
    // minPoints points.
    template <typename PointsValue>
    double meanOverSegments(int minPoints, PointsValue value) const
    {
        return meanOverSegmentsWhere([&](int index) { return segment(index).size >= minPoints; },
                                     [&](int index) { return value(segment(index)); });
    }

private:
    struct Range
    {
        int store;  // -1: the profile itself, otherwise an index into m_gathered
        int begin;
        int count;
    };

    void takeRangesOfAscendingProfile(const SamplingWindows& windows);
    void gatherPointsByWindow(const SamplingWindows& windows);

    ProfileData m_profile;
    double m_samplingLength;
    int m_samplingLengthCount = 0;
    QVector<Range> m_segments;
    QVector<ProfileData> m_gathered;  // the points of each window, when x is not ascending

    mutable std::optional<QVector<RMS>> m_meanLines;
    mutable std::optional<QVector<Deviations>> m_deviations;
    mutable std::optional<QVector<Slopes>> m_slopes;
    mutable std::optional<RMS> m_profileMeanLine;
};

// A straight line's value at x, read from the coefficients of an RMS once, for
// loops over many points.
struct LineValues
{
    explicit LineValues(const RMS& line) : intercept(line.coefficient(0)), slope(line.coefficient(1)) {}
    double at(double x) const { return intercept + slope * x; }

    double intercept;
    double slope;
};

// The least-squares line through the points of the view.
RMS fitLine(const ProfileView& points);

} // namespace Algos
