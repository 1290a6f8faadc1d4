#pragma once

#include <QPointF>
#include <QVector>

#include <limits>

#include "PointAccess.h"

namespace Algos {

// Centred moments of a point set, divided by the number of points.
struct CircleMoments
{
    double meanX = 0;
    double meanY = 0;
    double xx = 0;
    double yy = 0;
    double xy = 0;
    double xz = 0;
    double yz = 0;
    double zz = 0;
};

// Algebraic "Hyper" circle fit (Al-Sharadqah and Chernov) on the moments.
void fitCircleToMoments(const CircleMoments& moments, QPointF& centre, double& radius);

// Best-fit circle through all points of the stretches [firsts[i], lasts[i]).
// Points are curve points (key, value) or 2-D points. No points, points on
// one line or bounds vectors of different lengths give a centre or radius
// that is not finite.
template <typename Iterator>
void fitCircles(const QVector<Iterator>& firsts, const QVector<Iterator>& lasts, QPointF& centre, double& radius)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (firsts.size() != lasts.size()) {
        centre = QPointF(nan, nan);
        radius = nan;
        return;
    }

    double count = 0;
    CircleMoments m;
    for (int s = 0; s < firsts.size(); ++s) {
        for (Iterator it = firsts[s]; it != lasts[s]; ++it) {
            m.meanX += pointX(*it);
            m.meanY += pointY(*it);
            count += 1;
        }
    }
    m.meanX /= count;
    m.meanY /= count;

    for (int s = 0; s < firsts.size(); ++s) {
        for (Iterator it = firsts[s]; it != lasts[s]; ++it) {
            const double dx = pointX(*it) - m.meanX;
            const double dy = pointY(*it) - m.meanY;
            const double z = dx * dx + dy * dy;
            m.xx += dx * dx;
            m.yy += dy * dy;
            m.xy += dx * dy;
            m.xz += dx * z;
            m.yz += dy * z;
            m.zz += z * z;
        }
    }
    for (double* moment : {&m.xx, &m.yy, &m.xy, &m.xz, &m.yz, &m.zz})
        *moment /= count;

    fitCircleToMoments(m, centre, radius);
}

template <typename Iterator>
void fitCircle(Iterator first, Iterator last, QPointF& centre, double& radius)
{
    fitCircles(QVector<Iterator>{first}, QVector<Iterator>{last}, centre, radius);
}

template <typename Iterator>
void fitCircleTwoSets(Iterator first1, Iterator last1, Iterator first2, Iterator last2, QPointF& centre,
                      double& radius)
{
    fitCircles(QVector<Iterator>{first1, first2}, QVector<Iterator>{last1, last2}, centre, radius);
}

} // namespace Algos
