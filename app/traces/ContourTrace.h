#pragma once

#include "AbstractTrace.h"

// The trace of a contour measurement: x position, probe height and console
// height, with the probe calibration valid when it was recorded. Its own
// processing makes repeated positions distinct, optionally smooths the
// heights and removes the tip radius, and adds the probe's offset.
class ContourTrace : public AbstractTrace
{
public:
    ContourTrace();
    // A trace holding the rows of three equally long columns.
    explicit ContourTrace(const ProfileData& data);

    double tool_head_radius_down = 0;
    double tool_head_radius_up = 0;
    double double_sided_probe_high = 0;
    double rack_perpendicular = 0;
    double roughness_ratio = 0;
    double needle_bias = 0;
    double x_axis_compression_ratio = 1;
    double y_axis_compression_ratio = 1;
    double displacement_coefficient = 0;
    int measurement_mode = 0;
    int needle_pressing = 1;

protected:
    void processDisplay(ProfileData& display, SpareColumns& spares) const override;
    // Repeated x spread out, and the needle's bias when it is up; the
    // low-pass only drops rows at the ends.
    void processDisplayX(QVector<double>& x) const override;

private:
    // Moves the first `count` x by the needle's bias when the needle is up.
    void addNeedleBias(QVector<double>& x, int count) const;
};

// Spreads each run of equal values evenly over the step to the next value:
// 0, 0, 0, 3, 3, 5 becomes 0, 1, 2, 3, 4, 5. The last run stays as it is.
QVector<double> spreadRepeatedValues(const QVector<double>& values);
// The same for `count` values, written to `spread`.
void spreadRepeatedValues(const double* values, int count, double* spread);

// The heights of the path that a tip of the given radius traces: each point
// takes the lowest (needle down) or highest (needle up) point of the circles
// around the points within half a radius to either side, or of its own circle
// when none of them reaches it. x is expected to increase; where it steps
// back (or is NaN) a new stretch begins, and a point's circles come from its
// own stretch only, so that x going back and forth costs linear time.
// Heights are returned unchanged for a negative or non-finite radius.
QVector<double> eliminateTipRadius(const QVector<double>& x, const QVector<double>& y, double radius, bool needleDown);
// The same for `count` points and a radius that is finite and not negative,
// written to `heights` with `offset` added to each (-0.0 changes nothing,
// not even -0.0 or NaN).
void eliminateTipRadius(const double* x, const double* y, int count, double radius, bool needleDown, double offset,
                        double* heights);
