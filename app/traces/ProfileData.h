#pragma once

#include <QVector>

// Columns of a trace or a profile, all of one length: column 0 the x
// positions, column 1 the heights (both micrometres); a contour trace's
// column 2 holds the console height as the instrument reports it.
using ProfileData = QVector<QVector<double>>;
