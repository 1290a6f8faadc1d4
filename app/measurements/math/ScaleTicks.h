#pragma once

#include <QString>
#include <QVector>

namespace MeasurementMath {

// The tick values of the scale beside a deviation band: multiples of a round
// step (1, 2 or 5 times a power of ten, about five to ten of them) within
// [minimum, maximum]. A flat range (isFlatRange) gets one tick at the minimum
// when that is finite, and the count never exceeds kMaxScaleTicks.
struct ScaleTicks
{
    double step = 0;
    QVector<double> values;
};

constexpr int kMaxScaleTicks = 100;

ScaleTicks scaleTicks(double minimum, double maximum);

// The text of a tick value: six significant digits, "0" for round-off below
// 1e-10.
QString tickText(double value);

} // namespace MeasurementMath
