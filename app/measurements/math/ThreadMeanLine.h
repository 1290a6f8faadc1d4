#pragma once

#include "SlopedLine.h"

#include <QPointF>
#include <QVector>

#include <functional>

namespace MeasurementMath {

// The search for the mean line of a thread profile: the line that the
// profile crosses at equal intervals, so that grooves and ridges are equally
// wide on it. Starting from a first line (the profile's least-squares line),
// passes over the line's inclination and its height alternate while the
// spread of the crossing intervals keeps falling.
//
// A crossing is the first profile point on the other side of the line; an
// interval is the straight distance from one crossing to the next (whole
// sampling steps on a coarse profile, not interpolated crossings).
class ThreadMeanLine
{
public:
    // The profile's points in their order along the curve.
    explicit ThreadMeanLine(QVector<QPointF> points);

    SlopedLine search(const SlopedLine& first);

    // The sum of the absolute deviations of the crossing intervals from their
    // mean, without the piece before the first crossing and over an even
    // number of intervals. The first evaluation of a search fixes the number
    // of intervals; a line giving 3 or more intervals more or fewer, or no
    // crossing at all, gets kNoCrossings.
    double crossingIntervalSpread(const SlopedLine& line);

    // The line turned by the given degrees (clockwise for positive ones)
    // about the middle of its stretch over the profile's first and last keys,
    // the keys of both ends kept.
    SlopedLine rotateLine(const SlopedLine& line, double degrees) const;

    // The line raised by d.
    static SlopedLine shiftLine(const SlopedLine& line, double d);

    static constexpr double kNoCrossings = 1e100;

private:
    using Move = std::function<SlopedLine(const SlopedLine&, double)>;

    // Tries steps of the move both ways, keeping a step while it improves on
    // the error and shrinking it after each failed try; returns the error the
    // pass ended with.
    double pass(SlopedLine& line, double error, const Move& move);
    QVector<double> crossingIntervals(const SlopedLine& line) const;

    QVector<double> m_x;
    QVector<double> m_y;
    int m_crossingCount = -1;
};

} // namespace MeasurementMath
