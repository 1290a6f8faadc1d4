#pragma once

#include "DistanceMeasurement.h"

// The horizontal distance between two trace points, with the dimension line
// at the cursor's height.
class HorisontalDistanceMeasurment : public DistanceMeasurement
{
    Q_OBJECT
public:
    explicit HorisontalDistanceMeasurment(PlotWidget* plot);

    void calculate() override;
};
