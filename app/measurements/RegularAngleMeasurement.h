#pragma once

#include "AngleMeasurement.h"

// "Угол": the angle between the lines of two picked ranges, at their
// intersection.
class RegularAngleMeasurement : public AngleMeasurement
{
    Q_OBJECT
public:
    RegularAngleMeasurement(PlotWidget* plot, int traceCount);

    void calculate() override;
};
