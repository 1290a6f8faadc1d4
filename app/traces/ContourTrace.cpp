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

// The lower of two heights under a needle pressing down, the higher under one
// pressing up: the one the tip's path keeps.
double tipExtreme(bool needleDown, double a, double b)
{
    return needleDown ? std::min(a, b) : std::max(a, b);
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

// The groups of equal x of one rising stretch, formed as the window of the
// tip's circles reaches them and dropped once it has passed them, so that a
// long trace needs no group list as long as itself.
class SameXGroups
{
public:
    SameXGroups(const double* x, const double* y, int first, int end, bool needleDown)
        : m_x(x), m_y(y), m_next(first), m_end(end), m_needleDown(needleDown)
    {
    }

    int formed() const { return m_begin + int(m_groups.size()); }
    const SameXPoints& at(int group) const { return m_groups[size_t(group - m_begin)]; }

    // Forms the next group; false when the stretch has no more points.
    bool formNext()
    {
        if (m_next >= m_end)
            return false;
        SameXPoints group{m_x[m_next], qQNaN(), m_next, m_next + 1};
        while (group.end < m_end && m_x[group.end] == group.x)
            ++group.end;
        for (int j = group.first; j < group.end; ++j) {
            if (std::isnan(m_y[j]))
                continue;
            group.extremeHeight =
                std::isnan(group.extremeHeight) ? m_y[j] : tipExtreme(m_needleDown, group.extremeHeight, m_y[j]);
        }
        m_groups.push_back(group);
        m_next = group.end;
        return true;
    }

    // Groups before `group` are not needed any more.
    void dropBefore(int group)
    {
        const int passed = group - m_begin;
        if (passed < 1024 || 2 * passed < int(m_groups.size()))
            return;
        m_groups.erase(m_groups.begin(), m_groups.begin() + passed);
        m_begin = group;
    }

private:
    const double* m_x;
    const double* m_y;
    int m_next;
    int m_end;
    bool m_needleDown;
    std::vector<SameXPoints> m_groups;
    int m_begin = 0;
};

struct TipCircles
{
    double radius;
    bool needleDown;
    double offset;

    double better(double a, double b) const { return tipExtreme(needleDown, a, b); }

    // Heights for the points [first, end), along which x never decreases.
    // The window of a point is every point of the stretch with x within half
    // a radius of its own. Neighbouring points at one x share their window
    // and their circles' reach, so the circles are only evaluated for the
    // extreme of their heights.
    void applyToRisingStretch(const double* x, const double* y, int first, int end, double* heights) const
    {
        SameXGroups groups(x, y, first, end, needleDown);
        const double half = radius / 2;
        const double radiusSquared = radius * radius;
        int front = 0;
        int next = 0;
        for (int current = 0; current < groups.formed() || groups.formNext(); ++current) {
            const SameXPoints group = groups.at(current);
            const double lo = group.x - half;
            const double hi = group.x + half;
            while (front < next && groups.at(front).x < lo)
                ++front;
            while ((next < groups.formed() || groups.formNext()) && groups.at(next).x <= hi)
                ++next;

            double best = needleDown ? DBL_MAX : -DBL_MAX;
            bool reached = false;
            for (int k = front; k < next; ++k) {
                const SameXPoints& circle = groups.at(k);
                const double dx = group.x - circle.x;
                const double rise = std::sqrt(radiusSquared - dx * dx);
                const double term = needleDown ? circle.extremeHeight - rise : circle.extremeHeight + rise;
                if (std::isnan(term))
                    continue;
                reached = true;
                best = better(best, term);
            }
            for (int j = group.first; j < group.end; ++j)
                heights[j] = (reached ? best : ownCircle(y[j])) + offset;
            groups.dropBefore(front);
        }
    }

    double ownCircle(double height) const { return needleDown ? height - radius : height + radius; }
};

bool isTipRadius(double radius)
{
    return std::isfinite(radius) && radius >= 0;
}

// A column of `values` with `offset` added to the first `count` of them.
QVector<double> withOffset(const QVector<double>& values, int count, double offset, SpareColumns& spares)
{
    QVector<double> shifted = spares.take(values.size());
    double* target = shifted.data();
    for (int j = 0; j < count; ++j)
        target[j] = values[j] + offset;
    std::copy(values.cbegin() + count, values.cend(), target + count);
    return shifted;
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

// The passes write into spare columns, and the probe's height offset is added
// as the heights are made.
void ContourTrace::processDisplay(ProfileData& display, SpareColumns& spares) const
{
    if (display.size() < 3)
        return;
    const bool needleDown = needle_pressing == MovementSettings::NEEDLE_DOWN;
    const bool needleUp = needle_pressing == MovementSettings::NEEDLE_UP;
    const double radius = needleDown ? tool_head_radius_down : tool_head_radius_up;
    const ProcessingSwitches switches = currentSwitches();
    // -0.0 leaves the heights as they are, -0.0 and NaN included.
    const double heightOffset = needleUp ? -0.0 : 1000 * double_sided_probe_high;

    QVector<double> spread = spares.take(display[0].size());
    spreadRepeatedValues(display[0].constData(), display[0].size(), spread.data());
    display[0] = std::move(spread);
    if (switches.lowPass && measurement_mode == 0 && !display[0].isEmpty())
        lowPass(display, radius);

    const int points = std::min(display[0].size(), display[1].size());
    if (switches.radiusElimination && isTipRadius(radius)) {
        QVector<double> heights = spares.take(points);
        eliminateTipRadius(display[0].constData(), display[1].constData(), points, radius, needleDown, heightOffset,
                           heights.data());
        display[1] = std::move(heights);
    } else if (!needleUp) {
        display[1] = withOffset(display[1], points, heightOffset, spares);
    }
    addNeedleBias(display[0], points);
}

void ContourTrace::processDisplayX(QVector<double>& x) const
{
    x = spreadRepeatedValues(x);
    addNeedleBias(x, x.size());
}

void ContourTrace::addNeedleBias(QVector<double>& x, int count) const
{
    if (needle_pressing != MovementSettings::NEEDLE_UP)
        return;
    const double offset = 1000 * needle_bias;
    double* values = x.data();
    for (int j = 0; j < count; ++j)
        values[j] += offset;
}

QVector<double> spreadRepeatedValues(const QVector<double>& values)
{
    QVector<double> spread(values.size());
    spreadRepeatedValues(values.constData(), values.size(), spread.data());
    return spread;
}

void spreadRepeatedValues(const double* values, int count, double* spread)
{
    if (count == 0)
        return;
    double current = values[0];
    int runLength = 1;
    for (int k = 1; k < count; ++k) {
        const double next = values[k];
        if (next == current) {
            ++runLength;
            continue;
        }
        for (int step = 0; step < runLength; ++step)
            *spread++ = current + step * (next - current) / runLength;
        current = next;
        runLength = 1;
    }
    std::fill(spread, spread + runLength, current);
}

QVector<double> eliminateTipRadius(const QVector<double>& x, const QVector<double>& y, double radius, bool needleDown)
{
    if (!isTipRadius(radius))
        return y;
    const int n = std::min(x.size(), y.size());
    QVector<double> heights(n);
    eliminateTipRadius(x.constData(), y.constData(), n, radius, needleDown, -0.0, heights.data());
    return heights;
}

void eliminateTipRadius(const double* x, const double* y, int count, double radius, bool needleDown, double offset,
                        double* heights)
{
    const TipCircles circles{radius, needleDown, offset};
    for (int first = 0; first < count;) {
        int end = first + 1;
        while (end < count && x[end] >= x[end - 1])
            ++end;
        circles.applyToRisingStretch(x, y, first, end, heights);
        first = end;
    }
}
