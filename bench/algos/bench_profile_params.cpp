// Times the profile parameters on a 1,000,000-point profile trace: the whole
// catalogue of 55 with the filtering (cold caches) and on filtered profiles
// already at hand (warm caches), the material-ratio curve and the height bands.
// Runs on the calling thread only.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <functional>

#include "AppSettings.h"
#include "ExtraArgs.h"
#include "HeightDistribution.h"
#include "MaterialRatio.h"
#include "ProfileParamNames.h"
#include "ProfileTrace.h"
#include "SyntheticProfile.h"
#include "Timing.h"
#include "TraceTypes.h"

namespace {

constexpr int kPoints = 1000000;
constexpr double kStep = 0.1;
constexpr double kCutOff = 800;

ProfileData roughProfile()
{
    return syntheticProfile(kPoints, kStep, 0.3,
                            [](double x) { return 0.0005 * x + 1.2 * std::sin(x / 23) + 3 * std::sin(x / 1700); });
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);

    AppSettings& settings = AppSettings::instance();
    settings.preferenses.enabled_params.clear();
    for (auto it = profileParamNames.cbegin(); it != profileParamNames.cend(); ++it)
        settings.preferenses.enabled_params.insert(it.key(), it.value());
    settings.preferenses.enabled_params_count = profileParamNames.size();

    ProfileTrace trace(roughProfile());
    trace.setType(PROFILE);
    trace.filterCutOff = kCutOff;
    trace.level = 0.5;
    ExtraArgs args;
    const auto nothing = [] {};

    out << "profile of " << kPoints << " points, cut-off " << kCutOff << " um, all " << profileParamNames.size()
        << " parameters\n";
    out << "calculateAll, cold caches (filtering included): "
        << timing([&] { trace.clearFilteredCache(); }, [&] { args.calculateAll(&trace); }) << "\n";
    out << "calculateAll, warm caches: " << timing(nothing, [&] { args.calculateAll(&trace); }) << "\n";
    out << "filtered profiles alone (roughness and waviness): "
        << timing([&] { trace.clearFilteredCache(); },
                  [&] {
                      ProfileTrace::filteredProfile(&trace, kCutOff, ROUGHNESS);
                      ProfileTrace::filteredProfile(&trace, kCutOff, WAVINESS);
                  })
        << "\n";

    const ProfileData roughness = ProfileTrace::filteredProfile(&trace, kCutOff, ROUGHNESS);
    const QVector<double>& heights = roughness.at(1);
    const auto [lowest, highest] = std::minmax_element(heights.cbegin(), heights.cend());
    out << "material-ratio curve: " << timing(nothing, [&] { Algos::materialRatioCurve(roughness); }) << "\n";
    out << "height bands (a = 10): "
        << timing(nothing, [&] { Algos::heightDistribution(roughness, 10, *lowest, *highest); }) << "\n";
    const double xRange[2] = {roughness.at(0).first(), roughness.at(0).last()};
    const double heightRange[2] = {*lowest - 1, *highest + 1};
    out << "height bands in a window (a = 10): "
        << timing(nothing, [&] { Algos::heightDistributionInWindow(roughness, 10, xRange, heightRange); }) << "\n";
    out << "Ra of the trace: " << trace.parameterResults.value(QStringLiteral("Ra")) << " um\n";
    return 0;
}
