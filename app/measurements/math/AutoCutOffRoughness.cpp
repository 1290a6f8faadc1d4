#include "AutoCutOffRoughness.h"

#include "GaussFilter.h"

#include <QVector>

#include <cmath>

namespace MeasurementMath {

namespace {

constexpr double kFirstCutOff = 800;
// More passes than there are standard cut-offs: a bound for choices that keep
// naming new ones.
constexpr int kMaxPasses = 16;

double profileLength(const ProfileData& profile)
{
    if (profile.size() < 1 || profile[0].isEmpty())
        return 0;
    return profile[0].last() - profile[0].first();
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
        if (2 * cutOff > profileLength(profile))
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
