#pragma once

#include <QPointF>
#include <QVector>

#include <cmath>

// A sampled trapezoidal thread profile for the mean-diameter tests and
// benchmark: per pitch a root flat at height 0, a rising flank, a crest flat
// at the depth and a falling flank, the whole profile tilted by a slope.
struct ThreadProfile
{
    double pitch = 1;
    double rootFlat = 0.4;
    double flank = 0.2;
    double crestFlat = 0.2;
    double depth = 0.2;
    double tilt = 0;

    double height(double x) const
    {
        const double t = x - pitch * std::floor(x / pitch);
        const double rise = rootFlat + flank;
        const double crestEnd = rise + crestFlat;
        double h = 0;
        if (t < rootFlat)
            h = 0;
        else if (t < rise)
            h = depth * (t - rootFlat) / flank;
        else if (t < crestEnd)
            h = depth;
        else
            h = depth * (1 - (t - crestEnd) / flank);
        return h + tilt * x;
    }

    // count points from x = start on, step apart.
    QVector<QPointF> sampled(double start, double step, int count) const
    {
        QVector<QPointF> points;
        points.reserve(count);
        for (int i = 0; i < count; ++i) {
            const double x = start + i * step;
            points.append(QPointF(x, height(x)));
        }
        return points;
    }
};
