#include "ContourTrace.h"

#include <QMutexLocker>

#include <cfloat>
#include <cmath>
#include <deque>

#include "AppSettings.h"
#include "GaussFilter.h"
#include "TraceTypes.h"

namespace {

struct ProcessingSwitches
{
    bool lowPass;
    bool radiusElimination;
};

ProcessingSwitches currentSwitches()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    return {settings.servise.is_disabled_gauss_filter, settings.servise.is_disabled_radius_elimination};
}

// Smooths the heights with a Gaussian low-pass whose cut-off is the tip
// radius; x and heights come back trimmed at both ends, the console column
// keeps its length.
void lowPass(ProfileData& display, double radius)
{
    const ProfileData filtered = Algos::gaussFilter({display[0], display[1]}, DBL_MAX, radius);
    if (filtered.size() < 2)
        return;
    display[0] = filtered[0];
    display[1] = filtered[1];
}

} // namespace

ContourTrace::ContourTrace() : AbstractTrace(3)
{
    type = CONTOUR;
}

ContourTrace::ContourTrace(const ProfileData& data) : ContourTrace()
{
    addPoints(data);
}

void ContourTrace::processDisplay(ProfileData& display) const
{
    if (display.size() < 3)
        return;
    const bool needleDown = needle_pressing == MovementSettings::NEEDLE_DOWN;
    const double radius = needleDown ? tool_head_radius_down : tool_head_radius_up;
    const ProcessingSwitches switches = currentSwitches();

    display[0] = spreadRepeatedValues(display[0]);
    if (switches.lowPass && measurement_mode == 0 && !display[0].isEmpty())
        lowPass(display, radius);
    if (switches.radiusElimination)
        display[1] = eliminateTipRadius(display[0], display[1], radius, needleDown);

    const int points = std::min(display[0].size(), display[1].size());
    if (needle_pressing != MovementSettings::NEEDLE_UP) {
        const double offset = 1000 * double_sided_probe_high;
        for (int j = 0; j < points; ++j)
            display[1][j] += offset;
    } else {
        const double offset = 1000 * needle_bias;
        for (int j = 0; j < points; ++j)
            display[0][j] += offset;
    }
}

QVector<double> spreadRepeatedValues(const QVector<double>& values)
{
    if (values.isEmpty())
        return values;
    QVector<double> spread;
    spread.reserve(values.size());
    double current = values[0];
    int runLength = 1;
    for (int k = 1; k < values.size(); ++k) {
        const double next = values[k];
        if (next == current) {
            ++runLength;
            continue;
        }
        for (int step = 0; step < runLength; ++step)
            spread.append(current + step * (next - current) / runLength);
        current = next;
        runLength = 1;
    }
    spread.insert(spread.size(), runLength, current);
    return spread;
}

QVector<double> eliminateTipRadius(const QVector<double>& x, const QVector<double>& y, double radius, bool needleDown)
{
    const int n = std::min(x.size(), y.size());
    if (!std::isfinite(radius) || radius < 0)
        return y;
    const double half = radius / 2;
    const double radiusSquared = radius * radius;
    QVector<double> heights(n, 0.0);
    std::deque<int> window;
    int nextToTake = 0;
    for (int j = 0; j < n; ++j) {
        const double lo = x[j] - half;
        const double hi = x[j] + half;
        while (!window.empty() && x[window.front()] < lo)
            window.pop_front();
        while (nextToTake < n && x[nextToTake] <= hi)
            window.push_back(nextToTake++);

        double best = needleDown ? DBL_MAX : -DBL_MAX;
        bool reached = false;
        for (int k : window) {
            const double dx = x[j] - x[k];
            const double rise = std::sqrt(radiusSquared - dx * dx);
            const double term = needleDown ? y[k] - rise : y[k] + rise;
            if (std::isnan(term))
                continue;
            reached = true;
            best = needleDown ? std::min(best, term) : std::max(best, term);
        }
        if (!reached)
            best = needleDown ? y[j] - radius : y[j] + radius;
        heights[j] = best;
    }
    return heights;
}
