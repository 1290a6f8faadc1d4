#pragma once

#include "ProfileData.h"

namespace Algos {

// A point of a profile as the line fits read it: key x, value height.
struct ProfilePoint
{
    double key;
    double value;
};

// Walks the points of a ProfileView for the fits, without copying them.
class ProfilePointIterator
{
public:
    ProfilePointIterator() = default;
    ProfilePointIterator(const double* x, const double* heights) : m_x(x), m_heights(heights) {}

    ProfilePoint operator*() const { return {*m_x, *m_heights}; }
    ProfilePointIterator& operator++()
    {
        ++m_x;
        ++m_heights;
        return *this;
    }
    bool operator!=(const ProfilePointIterator& other) const { return m_x != other.m_x; }

private:
    const double* m_x = nullptr;
    const double* m_heights = nullptr;
};

// Read-only view of consecutive points of a profile: x positions and heights.
// It does not own the points; the profile it was taken from must outlive it.
struct ProfileView
{
    const double* x = nullptr;
    const double* heights = nullptr;
    int size = 0;

    // The whole profile; empty when it has fewer than two columns. Columns of
    // different lengths are viewed up to the shorter one.
    static ProfileView of(const ProfileData& profile)
    {
        if (profile.size() < 2)
            return {};
        const QVector<double>& x = profile.at(0);
        const QVector<double>& heights = profile.at(1);
        return {x.constData(), heights.constData(), qMin(x.size(), heights.size())};
    }

    ProfileView mid(int begin, int count) const { return {x + begin, heights + begin, count}; }
    ProfilePointIterator begin() const { return {x, heights}; }
    ProfilePointIterator end() const { return {x + size, heights + size}; }
    double span() const { return x[size - 1] - x[0]; }
};

} // namespace Algos
