#pragma once

#include <QVector>

#include <cmath>
#include <functional>
#include <random>

#include "ProfileData.h"

// Profiles with known parameters for the parameter tests.
namespace fixtures {

constexpr double kPi = 3.14159265358979323846;

// Heights h(x) at x = from, from + step, ... up to `to`, both ends included.
inline ProfileData sampled(double from, double to, double step, const std::function<double(double)>& height)
{
    ProfileData profile(2);
    const int count = int(std::llround((to - from) / step)) + 1;
    for (int i = 0; i < count; ++i) {
        const double x = from + i * step;
        profile[0].append(x);
        profile[1].append(height(x));
    }
    return profile;
}

// A cosine of the amplitude and wavelength, with a crest at x = 0.
inline ProfileData cosine(double amplitude, double wavelength, double length, double step)
{
    return sampled(0, length, step,
                   [=](double x) { return amplitude * std::cos(2 * kPi * x / wavelength); });
}

// The keys as they come back from a plot in millimetres: each multiplied by
// 0.001 and by 1000 again, some of them a unit in the last place off (350
// comes back as 350.00000000000006).
inline QVector<double> readBackFromMillimetres(QVector<double> keys)
{
    for (double& key : keys)
        key = key * 0.001 * 1000;
    return keys;
}

inline ProfileData line(double slope, double offset, double length, double step)
{
    return sampled(0, length, step, [=](double x) { return offset + slope * x; });
}

// Rough surface on a slow wave: random heights rounded to a coarse grid, so
// that ties and heights exactly on levels are common.
inline ProfileData randomProfile(int points, unsigned seed, double step = 1, double grid = 0.25)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> height(0, 2);
    ProfileData profile(2);
    for (int i = 0; i < points; ++i) {
        profile[0].append(i * step);
        const double wave = 3 * std::sin(i * 0.002);
        profile[1].append(std::round((height(random) + wave) / grid) * grid);
    }
    return profile;
}

} // namespace fixtures
