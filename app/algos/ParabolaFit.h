#pragma once

#include <QVector>

namespace Algos {

// The least-squares parabola through the points (x[i], y[i]), evaluated at
// every x[i] into `values`. The positions are centred and scaled to [-1, 1]
// before the fit, so the system stays well conditioned for positions far
// from zero or in small units; the parabola is the same as the one fitted to
// the positions as given. False, leaving `values` untouched, for columns of
// different lengths, fewer than three distinct positions or a sample that is
// not finite.
bool parabolaValues(const QVector<double>& x, const QVector<double>& y, QVector<double>& values);

} // namespace Algos
