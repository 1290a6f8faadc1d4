#pragma once

#include "DistanceMeasurement.h"

// The vertical distance between two trace points, with the dimension line at
// the cursor's x.
class VerticalDistanceMeasurment : public DistanceMeasurement
{
    Q_OBJECT
public:
    explicit VerticalDistanceMeasurment(PlotWidget* plot);

    void calculate() override;
};
