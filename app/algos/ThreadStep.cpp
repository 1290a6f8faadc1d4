#include "ThreadStep.h"

#include <cmath>

#include "ProfileView.h"

namespace Algos {

namespace {

constexpr double kPitchTolerance = 0.1;

QVector<QPointF> upwardCrossings(const ProfileView& points, const RMS& line)
{
    QVector<QPointF> crossings;
    if (points.size == 0)
        return crossings;
    bool above = points.heights[0] >= line.evaluate(points.x[0]);
    for (int i = 0; i < points.size; ++i) {
        const bool pointAbove = points.heights[i] > line.evaluate(points.x[i]);
        if (!above && pointAbove)
            crossings.append(QPointF(points.x[i], points.heights[i]));
        above = pointAbove;
    }
    return crossings;
}

} // namespace

void threadSteps(const ProfileData& profile, const RMS& line, double pitch, double& meanStep,
                 QVector<ThreadStep>& steps)
{
    const QVector<QPointF> crossings = upwardCrossings(ProfileView::of(profile), line);
    steps.clear();
    double sum = 0;
    for (int i = 1; i < crossings.size(); ++i) {
        const double step = crossings.at(i).x() - crossings.at(i - 1).x();
        if (std::abs(step - pitch) <= kPitchTolerance * pitch) {
            steps.append({step, crossings.at(i), crossings.at(i - 1)});
            sum += step;
        }
    }
    meanStep = sum / steps.size();
}

} // namespace Algos
