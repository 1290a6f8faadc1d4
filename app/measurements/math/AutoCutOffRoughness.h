#pragma once

#include "PointAccess.h"
#include "ProfileData.h"

#include <functional>
#include <optional>

namespace MeasurementMath {

// A roughness parameter (micrometres) of a filtered profile evaluated with a
// cut-off (micrometres).
using ProfileParameter = std::function<double(const ProfileData& profile, double cutOff)>;
// The standard cut-off (micrometres) that a parameter value calls for; 0 when
// no standard applies.
using CutOffChoice = std::function<int(double value)>;

// Micrometres in one plot unit of the display unit "view/axis_unit":
// 1000 for millimetres (0), 1 for micrometres (1), 0.001 otherwise.
double micrometresPerUnit(int axisUnit);

// The curve points [first, last) as a profile in micrometres: x from the
// keys, heights from the values, both scaled by `scale`.
template <typename Iterator>
ProfileData profileInMicrometres(Iterator first, Iterator last, double scale)
{
    ProfileData profile(2);
    const int count = int(last - first);
    profile[0].reserve(count);
    profile[1].reserve(count);
    for (; first != last; ++first) {
        profile[0].append(Algos::pointX(*first) * scale);
        profile[1].append(Algos::pointY(*first) * scale);
    }
    return profile;
}

// The outcome of autoCutOffRoughness.
struct CutOffRoughness
{
    // The parameter (micrometres), when there is one.
    std::optional<double> value;
    // Without a value: the cut-off (micrometres) of the pass that the profile
    // was not twice as long as; 0 when a result was 0 to four decimals or not a
    // number.
    double tooShortFor = 0;
};

// The parameter with the cut-off chosen from its own result. The first pass
// filters the profile (Gaussian band, short cut-off λc / 300, 8/3 for 80 and
// 2.5 for 250) with 800 micrometres and evaluates it; while the result calls
// for a cut-off not tried yet, the filtered profile is filtered again with
// that one and evaluated anew. The value is the last result, once a result
// calls for its own cut-off, for one tried before, or for none.
//
// Nothing when the profile is not at least twice as long as the cut-off of a
// pass, or a result is 0 to four decimals (or not a number).
CutOffRoughness autoCutOffRoughness(ProfileData profile, const ProfileParameter& parameter,
                                    const CutOffChoice& choose);

} // namespace MeasurementMath
