#pragma once

#include "ProfileData.h"

namespace Algos {

// Running median of the heights (column 1) over `window` points, in place; an
// even window takes the upper of the two middle values. The ends are padded
// by mirroring. A window below 1 or longer than the profile changes nothing.
void medianFilter(int window, ProfileData& profile);

} // namespace Algos
