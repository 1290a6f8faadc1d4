#pragma once

#include <QVector>

// A trace or profile as columns of equal length: column 0 the x positions,
// column 1 the heights, both in micrometres; row j of all columns is point j.
using ProfileData = QVector<QVector<double>>;
