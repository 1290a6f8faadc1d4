#pragma once

#include "CircleConstruction.h"

// A circle of a radius the user gives, laid onto one selected stretch, as
// construction geometry. The radius is in the display unit and follows it
// when the unit changes.
class CircumfAGSpecified : public CircleConstruction
{
public:
    CircumfAGSpecified(PlotWidget* plot, int traceCount, double radius);

    void calculate() override;
    void reloadSettings() override;
};
