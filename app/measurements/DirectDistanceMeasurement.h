#pragma once

#include "DistanceMeasurement.h"

// The straight distance between two trace points, with the dimension line
// parallel to them on the cursor's side.
class DirectDistanceMeasurement : public DistanceMeasurement
{
    Q_OBJECT
public:
    explicit DirectDistanceMeasurement(PlotWidget* plot);

    void calculate() override;
};
