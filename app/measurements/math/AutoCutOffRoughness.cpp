#include "AutoCutOffRoughness.h"

#include "GaussFilter.h"
#include "KeySlack.h"

#include <QVector>

#include <cmath>

namespace MeasurementMath {

namespace {

constexpr double kFirstCutOff = 800;
// More passes than there are standard cut-offs: a bound for choices that keep
// naming new ones.
constexpr int kMaxPasses = 16;

// Whether the profile is shorter than twice the cut-off; a length that falls
// short of it by no more than a rounding is not.
bool isShorterThanTwice(const ProfileData& profile, double cutOff)
{
    if (profile.size() < 1 || profile[0].isEmpty())
        return 2 * cutOff > 0;
    const double first = profile[0].first();
    const double last = profile[0].last();
    return 2 * cutOff > last - first + Algos::keySlack(first, last);
}

double shortCutOff(double cutOff)
{
    if (cutOff == 80)
        return 8.0 / 3.0;
    if (cutOff == 250)
        return 2.5;
    return cutOff / 300;
}

bool showsAsZero(double value)
{
    return !std::isfinite(value) || std::round(value / 0.0001) == 0;
}

} // namespace

double micrometresPerUnit(int axisUnit)
{
    switch (axisUnit) {
    case 0:
        return 1000;
    case 1:
        return 1;
    default:
        return 0.001;
    }
}

CutOffRoughness autoCutOffRoughness(ProfileData profile, const ProfileParameter& parameter,
                                    const CutOffChoice& choose)
{
    double cutOff = kFirstCutOff;
    QVector<double> tried{cutOff};
    double value = 0;
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        if (isShorterThanTwice(profile, cutOff))
            return {std::nullopt, cutOff};
        profile = Algos::gaussFilter(profile, cutOff, shortCutOff(cutOff));
        value = parameter(profile, cutOff);
        if (showsAsZero(value))
            return {};
        const int next = choose(value);
        // No standard names a cut-off (0): the value stands, as filtering with
        // no cut-off would leave no profile to evaluate.
        if (next <= 0 || next == cutOff || tried.contains(next))
            return {value};
        cutOff = next;
        tried.append(cutOff);
    }
    return {value};
}

} // namespace MeasurementMath
