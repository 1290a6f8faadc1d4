#pragma once

#include <functional>
#include <random>

#include "ProfileData.h"

// A benchmark profile: `points` points `step` micrometres apart, heights
// shape(x) plus Gaussian noise of the given spread. The seed is fixed, so every
// run times the same profile.
inline ProfileData syntheticProfile(int points, double step, double noiseSpread,
                                    const std::function<double(double)>& shape)
{
    std::mt19937 random(2024);
    std::normal_distribution<double> noise(0, noiseSpread);
    ProfileData profile(2);
    profile[0].reserve(points);
    profile[1].reserve(points);
    for (int i = 0; i < points; ++i) {
        const double x = i * step;
        profile[0].append(x);
        profile[1].append(shape(x) + noise(random));
    }
    return profile;
}
