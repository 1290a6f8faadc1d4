#pragma once

#include <QVector>

#include "ProfileData.h"
#include "RMS.h"

namespace Algos {

// How many whole sampling lengths the x extent (last minus first x) spans,
// 0 to 5; an extent short of them by no more than the slack of a rounding
// (keySlack) spans them. 0 for an empty column, an extent that is not finite,
// or a sampling length that is not a positive number.
int samplingLengthCount(const QVector<double>& x, double samplingLength);

// The points of each sampling-length window (see SamplingWindows), one
// two-column profile per window; points in no window are dropped. Empty for a
// profile without two columns or without points.
QVector<ProfileData> splitIntoSamplingLengths(const ProfileData& profile, double samplingLength);

// The least-squares line through the x (column 0) and height (column 1) of
// the profile; not valid for a profile without two columns.
RMS meanLine(const ProfileData& profile);

} // namespace Algos
