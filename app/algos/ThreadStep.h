#pragma once

#include <QPointF>
#include <QVector>

#include "ProfileData.h"
#include "RMS.h"

// One pitch of a thread: the x distance from the previous crest crossing of a
// reference line to this one, with both crossing points (x, height).
struct ThreadStep
{
    double step = 0;
    QPointF point;
    QPointF previousPoint;

    bool operator==(const ThreadStep& other) const
    {
        return step == other.step && point == other.point && previousPoint == other.previousPoint;
    }
};

namespace Algos {

// Finds the points where the profile rises strictly above the line after lying
// at or below it, takes the x distances between successive ones, and keeps the
// steps within 10 % of the nominal pitch (in the profile's x unit), in order.
// meanStep is their mean: not a number when no step is kept.
void threadSteps(const ProfileData& profile, const RMS& line, double pitch, double& meanStep,
                 QVector<ThreadStep>& steps);

} // namespace Algos
