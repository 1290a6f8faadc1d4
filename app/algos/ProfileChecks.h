#pragma once

#include <QVector>

#include <algorithm>
#include <cmath>

#include "ProfileData.h"

namespace Algos {

inline bool allFinite(const QVector<double>& values)
{
    for (double v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

// Exactly two columns (x, height) of the same length, holding points.
inline bool isTwoColumnProfile(const ProfileData& profile)
{
    return profile.size() == 2 && profile[0].size() == profile[1].size() && !profile[0].isEmpty();
}

// Points of a profile: rows that both the x and the height column hold.
inline int pointCount(const ProfileData& profile)
{
    return profile.size() < 2 ? 0 : std::min(profile[0].size(), profile[1].size());
}

} // namespace Algos
