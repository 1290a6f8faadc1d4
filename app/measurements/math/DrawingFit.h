#pragma once

#include "DrawingIndex.h"

#include <QPointF>
#include <QVector>

namespace MeasurementMath {

// A drawing turned about the fit's centre by degrees, then moved by shift.
struct DrawingPlacement
{
    double degrees = 0;
    QPointF shift;
};

// The searches that lay a drawing onto a trace. The drawing is not moved
// while they run: a trial placement is measured by taking the trace's points
// the opposite way (moved back, then turned back about the centre), whose
// distances to the drawing as it stands are their distances to the placed
// drawing. So the drawing's index is built once for all trials. The index and
// the trace must outlive the fit.
class DrawingFit
{
public:
    DrawingFit(const DrawingIndex& drawing, const QVector<QPointF>& trace, QPointF centre);

    // The summed distance of the trace's finite points to the drawing placed
    // so; at the start placement exactly what summedDistance gives.
    double error(const DrawingPlacement& placement) const;

    // Where the searches have brought the drawing so far.
    const DrawingPlacement& placement() const { return m_placement; }

    // Turns the drawing by 180 degrees when that fits as well or better, then
    // searches the angle from 90 degrees down to 0.001; returns the best error.
    double searchRotation();
    // Search the vertical, or the horizontal, shift from step down to a
    // thousandth of it (not included), starting from bestError, the error of
    // the placement reached; return the new best error.
    double searchVerticalShift(double bestError, double step);
    double searchHorizontalShift(double bestError, double step);

private:
    // Moves the placement by ±step through moved(placement, step) while that
    // lowers the error, halving the step down to the smallest.
    template <typename Moved>
    double stepSearch(double bestError, double step, double smallest, bool inclusive, Moved moved);

    const DrawingIndex& m_drawing;
    const QVector<QPointF>& m_trace;
    QPointF m_centre;
    DrawingPlacement m_placement;
};

} // namespace MeasurementMath
