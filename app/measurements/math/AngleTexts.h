#pragma once

#include <QString>
#include <QVector>

// How an angle's value reads, and the standard angle it is checked against.
namespace MeasurementMath {

// Decimal degrees with four decimals: "30.5000°".
QString angleInDegreesText(double degrees);

// Whole degrees, minutes and seconds, each rounded down: "30° 30' 0''".
QString angleInDegreesMinutesSecondsText(double degrees);

// The nominal the value is nearest to, the nearness held in whole degrees
// while the nominals are walked in order, so 67.9 still goes to 45 and 68 to
// 90 with the nominals 45, 90, 135, 180; exact ties keep the earlier nominal.
// A value no nominal is nearer to than the first one is (0 for 45) keeps its
// whole degrees.
double nearestNominalAngle(double value, const QVector<double>& nominals);

} // namespace MeasurementMath
