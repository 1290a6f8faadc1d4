#include "CutOff.h"

#include <QMutexLocker>

#include <cmath>
#include <limits>

#include "AppSettings.h"
#include "Constants.h"

namespace Algos {

namespace {

constexpr int kCutOffs[] = {80, 250, 800, 2500};
constexpr int kLongestCutOff = 8000;

// Per standard, the Ra below which each cut-off of kCutOffs applies.
constexpr double kRaBounds[2][4] = {
    {0.025, 0.4, 3.2, 12.5},
    {0.02, 0.1, 2, 10},
};

} // namespace

int standardCutOff(double ra, int standard)
{
    if (standard != 0 && standard != 1)
        return 0;
    for (int i = 0; i < 4; ++i)
        if (ra < kRaBounds[standard][i])
            return kCutOffs[i];
    return kLongestCutOff;
}

int autoCutOff(double ra)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    return standardCutOff(ra, settings.preferenses.standartisation_value);
}

int fittingCutOff(int standard, double length, int current)
{
    int nearest = current;
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (double value : kCutOffValues) {
        const int cutOff = int(value);
        if (!(length >= 2.0 * cutOff))
            continue;
        if (cutOff == standard)
            return standard;
        const double distance = std::abs(double(cutOff) - standard);
        if (distance < nearestDistance) {
            nearest = cutOff;
            nearestDistance = distance;
        }
    }
    return nearest;
}

} // namespace Algos
