#pragma once

#include <algorithm>
#include <cmath>

namespace Algos {

// Keys that went through a decimal factor and back, as a contour drawn in
// millimetres and read back in micrometres, are a few units in the last place
// off: 760 um comes back as 759.9999999999999. Bounds laid along the keys from
// other keys (filter margins, sampling lengths, running windows) take a key
// within this slack of a bound as lying on it, so that the side a sampled
// point falls on does not depend on the unit the keys went through.
//
// A trillionth of the largest magnitude of the keys compared: thousands of
// units in the last place, and far below any sampling step. 0 when a key is
// not finite, where the comparisons stay exact.
inline double keySlack(double firstKey, double lastKey)
{
    const double magnitude = std::max(std::abs(firstKey), std::abs(lastKey));
    return std::isfinite(magnitude) ? 1e-12 * magnitude : 0.0;
}

} // namespace Algos
