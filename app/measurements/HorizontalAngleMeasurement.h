#pragma once

#include "AngleMeasurement.h"

// "Угол (Г)": the angle between the line of one picked range and the
// horizontal.
class HorizontalAngleMeasurement : public AngleMeasurement
{
    Q_OBJECT
public:
    HorizontalAngleMeasurement(PlotWidget* plot, int traceCount);

    void calculate() override;
};
