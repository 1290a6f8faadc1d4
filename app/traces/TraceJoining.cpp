#include "TraceJoining.h"

#include <QDebug>
#include <QString>

#include <algorithm>
#include <cmath>

#include "AbstractTrace.h"
#include "NearestPointSearch.h"
#include "algos/Geometry.h"
#include "algos/ProfileChecks.h"

namespace {

using Algos::pointCount;

constexpr int kThinnedPointsPerOverlap = 100;
constexpr double kSearchStartShare = 0.05;
constexpr double kSearchEndShare = 0.001;
// Caps on the searches: a step search accepts far fewer steps on real data,
// and alignment settles within a few passes.
constexpr int kMaxAcceptedSteps = 100000;
constexpr int kMaxAlignmentPasses = 1000;

ProfileData emptyProfile()
{
    return ProfileData(2);
}

void appendPoint(ProfileData& data, const ProfileData& source, int i)
{
    data[0].append(source[0][i]);
    data[1].append(source[1][i]);
}

ProfileData xAndHeight(const AbstractTrace& trace)
{
    const LockedTraceData locked = trace.lockedData();
    ProfileData data = emptyProfile();
    if (locked.data && locked.data->size() >= 2) {
        const int count = pointCount(*locked.data);
        data[0] = locked.data->at(0).mid(0, count);
        data[1] = locked.data->at(1).mid(0, count);
    }
    return data;
}

void shift(ProfileData& data, double dx, double dy)
{
    Algos::addConstant(data[0], dx);
    Algos::addConstant(data[1], dy);
}

QString threeDecimals(double value)
{
    return QString::number(value, 'f', 3);
}

} // namespace

ProfileData joinTraces(AbstractTrace* left, AbstractTrace* right, double overlapMm)
{
    const double overlap = overlapMm * 1000;
    const ProfileData leftData = left ? xAndHeight(*left) : emptyProfile();
    ProfileData rightData = right ? xAndHeight(*right) : emptyProfile();

    OverlapSegments segments = cutOverlapSegments(leftData, rightData, overlap);
    if (pointCount(segments.tail) == 0 || pointCount(segments.head) == 0)
        return mergeJoined(leftData, rightData);

    ProfileData& head = segments.head;
    const double dx0 = segments.tail[0][0] - head[0][0];
    const double dy0 = segments.tail[1][0] - head[1][0];
    shift(head, dx0, dy0);

    ProfileData thinned = thinOut(head, overlap);
    const SegmentShift fine = alignSegments(segments.tail, thinned);
    shift(rightData, dx0 + fine.x, dy0 + fine.height);
    return mergeJoined(leftData, rightData);
}

OverlapSegments cutOverlapSegments(const ProfileData& left, const ProfileData& right, double overlap)
{
    OverlapSegments segments{emptyProfile(), emptyProfile()};
    const int leftCount = pointCount(left);
    if (leftCount > 0) {
        const double lastX = left[0][leftCount - 1];
        for (int i = 0; i < leftCount; ++i) {
            if (lastX - left[0][i] < overlap)
                appendPoint(segments.tail, left, i);
        }
    }
    const int rightCount = pointCount(right);
    if (rightCount > 0) {
        const double firstX = right[0][0];
        for (int i = 0; i < rightCount; ++i) {
            if (right[0][i] - firstX < overlap)
                appendPoint(segments.head, right, i);
        }
    }
    return segments;
}

ProfileData thinOut(const ProfileData& segment, double overlap)
{
    ProfileData thinned = emptyProfile();
    const int count = pointCount(segment);
    if (count == 0)
        return thinned;
    const double firstX = segment[0][0];
    appendPoint(thinned, segment, 0);
    for (int i = 1; i < count; ++i) {
        if (std::abs(segment[0][i] - firstX) >= thinned[0].size() * overlap / kThinnedPointsPerOverlap)
            appendPoint(thinned, segment, i);
    }
    return thinned;
}

AxisShift searchShiftOnAxis(ProfileData& moving, const NearestPointSearch& reference, int column)
{
    QVector<double>& values = moving[column];
    AxisShift result;
    result.error = reference.distanceSum(moving);
    if (values.isEmpty())
        return result;

    const auto [minIt, maxIt] = std::minmax_element(values.cbegin(), values.cend());
    const double start = std::abs(*maxIt - *minIt) * kSearchStartShare;
    double step = start;
    int acceptedSteps = 0;
    while (step > kSearchEndShare * start && acceptedSteps < kMaxAcceptedSteps) {
        Algos::addConstant(values, step);
        const double up = reference.distanceSum(moving);
        Algos::addConstant(values, -2 * step);
        const double down = reference.distanceSum(moving);
        if (up < result.error && up < down) {
            Algos::addConstant(values, 2 * step);
            result.error = up;
            result.shift += step;
            ++acceptedSteps;
        } else if (down < result.error && down < up) {
            result.error = down;
            result.shift -= step;
            ++acceptedSteps;
        } else {
            Algos::addConstant(values, step);
            step /= 2;
        }
    }
    return result;
}

SegmentShift alignSegments(const ProfileData& reference, ProfileData& moving)
{
    const NearestPointSearch search(reference);
    SegmentShift total;
    double error = search.distanceSum(moving);
    for (int pass = 0; pass < kMaxAlignmentPasses; ++pass) {
        const AxisShift alongX = searchShiftOnAxis(moving, search, 0);
        const AxisShift alongHeight = searchShiftOnAxis(moving, search, 1);
        const double minimal = std::min({error, alongX.error, alongHeight.error});
        total.x += alongX.shift;
        total.height += alongHeight.shift;
        if (threeDecimals(error) == threeDecimals(minimal))
            break;
        qDebug() << "beforeError = " << error << "minimalError = " << minimal;
        error = minimal;
    }
    return total;
}

ProfileData mergeJoined(const ProfileData& left, const ProfileData& right)
{
    ProfileData joined = emptyProfile();
    const int rightCount = pointCount(right);
    for (int i = 0; i < pointCount(left); ++i) {
        if (rightCount == 0 || left[0][i] < right[0][0])
            appendPoint(joined, left, i);
    }
    for (int i = 0; i < rightCount; ++i)
        appendPoint(joined, right, i);
    return joined;
}
