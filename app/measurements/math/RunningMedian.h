#pragma once

#include "DeviationCurve.h"

#include <QVector>

namespace MeasurementMath {

// Running median of values over a key window. The window is first filled with
// the points closer than half a window to the first key (the first point
// counted twice); then, for each further point while at least half a window
// of keys remains to the last point, a median is taken once the point lies
// more than a window beyond the oldest key held, and the oldest point leaves.
// The median is the element at index size / 2 of the held values in ascending
// order. Empty when no point lies a window beyond the start, for instance
// for a stretch shorter than one and a half windows or keys that fall. Key
// distances within the slack of a rounding (keySlack) of half a window or of
// a window count as equal to it.
QVector<double> runningMedian(const QVector<double>& keys, const QVector<double>& values, double window);

// The curve of the running medians of the deviations, the k-th median drawn
// at the k-th key moved on by the window; empty without medians.
DeviationCurve runningMedianCurve(const DeviationCurve& curve, double window);

} // namespace MeasurementMath
