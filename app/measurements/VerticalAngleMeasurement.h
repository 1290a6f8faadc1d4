#pragma once

#include "AngleMeasurement.h"

// "Угол (В)": the angle between the line of one picked range and the
// vertical.
class VerticalAngleMeasurement : public AngleMeasurement
{
    Q_OBJECT
public:
    VerticalAngleMeasurement(PlotWidget* plot, int traceCount);

    void calculate() override;
};
