#pragma once

#include "ErrorMeasurement.h"

// Deviation from a circle of a radius the user gives: the circle's centre is
// searched so that the circle follows the selected points and then just
// clears them from the centre's side. The radius is in the display unit and
// follows it when the unit changes.
class RDEMSpecified : public ErrorMeasurement
{
public:
    RDEMSpecified(PlotWidget* plot, int traceCount, double radius);

    void calculate() override;
    void reloadSettings() override;

    double radius() const { return m_radius; }

protected:
    Outcome computeDeviations(const SelectedPoints& points) override;

private:
    double m_radius;
};
