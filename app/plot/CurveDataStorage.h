#pragma once

#include <qcustomplot.h>

// Filling a curve's data while a long trace is read, without the copies the
// library makes on the way.

// Makes room in the data for `points` points in all, so that the points
// appended batch by batch go into memory that is there already: the library
// grows its container by copying every point into fresh memory, which for a
// long trace holds up the GUI thread for a good part of a second. The pages
// of the room are mapped as the points fill them, huge pages for a long
// trace.
void reserveCurveData(QCPCurveDataContainer& data, int points);

// Appends the points (keys[i] * factor, values[i] * factor), their
// parameter t counting on from the last point's, as QCPCurve::addData does,
// but written straight into the data's storage.
void appendCurvePoints(QCPCurveDataContainer& data, const double* keys, const double* values, int count,
                       double factor);
