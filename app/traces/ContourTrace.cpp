#include "ContourTrace.h"

#include <QMutexLocker>
#include <QtNumeric>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

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

// Neighbouring points of a rising stretch at one x. They share their window
// and their circles' reach, so the circles are only evaluated for the lowest
// (needle down) or highest (needle up) of their heights: rounding keeps the
// order of the heights, so that one gives the extreme of them all.
struct SameXPoints
{
    double x;
    // NaN when every height of the points is NaN.
    double extremeHeight;
    int first;
    int end;
};

struct TipCircles
{
    double radius;
    bool needleDown;

    double better(double a, double b) const { return needleDown ? std::min(a, b) : std::max(a, b); }

    // Heights for the points [first, end), along which x never decreases.
    // The window of a point is every point of the stretch with x within half
    // a radius of its own.
    void applyToRisingStretch(const double* x, const double* y, int first, int end, double* heights,
                              std::vector<SameXPoints>& groups) const
    {
        groupSameX(x, y, first, end, groups);
        const double half = radius / 2;
        const double radiusSquared = radius * radius;
        const int count = int(groups.size());
        int front = 0;
        int next = 0;
        for (const SameXPoints& group : groups) {
            const double lo = group.x - half;
            const double hi = group.x + half;
            while (front < next && groups[front].x < lo)
                ++front;
            while (next < count && groups[next].x <= hi)
                ++next;

            double best = needleDown ? DBL_MAX : -DBL_MAX;
            bool reached = false;
            for (int k = front; k < next; ++k) {
                const double dx = group.x - groups[k].x;
                const double rise = std::sqrt(radiusSquared - dx * dx);
                const double term = needleDown ? groups[k].extremeHeight - rise : groups[k].extremeHeight + rise;
                if (std::isnan(term))
                    continue;
                reached = true;
                best = better(best, term);
            }
            for (int j = group.first; j < group.end; ++j)
                heights[j] = reached ? best : ownCircle(y[j]);
        }
    }

    double ownCircle(double height) const { return needleDown ? height - radius : height + radius; }

    void groupSameX(const double* x, const double* y, int first, int end, std::vector<SameXPoints>& groups) const
    {
        groups.clear();
        for (int k = first; k < end;) {
            SameXPoints group{x[k], qQNaN(), k, k + 1};
            while (group.end < end && x[group.end] == group.x)
                ++group.end;
            for (int j = group.first; j < group.end; ++j) {
                if (std::isnan(y[j]))
                    continue;
                group.extremeHeight = std::isnan(group.extremeHeight) ? y[j] : better(group.extremeHeight, y[j]);
            }
            groups.push_back(group);
            k = group.end;
        }
    }
};

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

void ContourTrace::processDisplayX(QVector<double>& x) const
{
    x = spreadRepeatedValues(x);
    if (needle_pressing == MovementSettings::NEEDLE_UP) {
        const double offset = 1000 * needle_bias;
        for (double& value : x)
            value += offset;
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
    QVector<double> heights(n, 0.0);
    const TipCircles circles{radius, needleDown};
    std::vector<SameXPoints> groups;
    for (int first = 0; first < n;) {
        int end = first + 1;
        while (end < n && x[end] >= x[end - 1])
            ++end;
        circles.applyToRisingStretch(x.constData(), y.constData(), first, end, heights.data(), groups);
        first = end;
    }
    return heights;
}
