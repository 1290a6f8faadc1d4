#pragma once

#include "ProfileData.h"

namespace Algos {

// The profile with each height minus the mean height of the points within
// [x - halfWidth, x + halfWidth) around it (x increasing). Not two columns of
// equal length, a non-finite value or a half-width that is not positive and
// finite: empty.
ProfileData subtractMovingAverage(const ProfileData& profile, double halfWidth);

} // namespace Algos
