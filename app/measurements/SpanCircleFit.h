#pragma once

#include "CurveAccess.h"
#include "math/Circle.h"

#include <QVector>

#include <optional>

// Circles fitted to stretches of curve data, for the radius, circle and
// circle deviation kinds. A fit that is not finite (collinear points, too
// few points) gives none, so that no such circle reaches the plot, a
// reference point or an intersection.

// The least-squares circle through all points of the stretches together.
std::optional<MeasurementMath::Circle> fitCircleToSpans(const QVector<CurveSpan>& spans);

// The least-squares circle through the points of one stretch.
std::optional<MeasurementMath::Circle> fitCircleToSpan(const CurveSpan& span);

// The circle of the given radius laid onto the stretch's points: the
// least-squares circle's centre moved by the given-radius centre search.
std::optional<MeasurementMath::Circle> fitGivenRadiusToSpan(const CurveSpan& span, double radius);
