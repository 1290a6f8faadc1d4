#pragma once

#include "DistanceMeasurement.h"
#include "SelectionStamp.h"
#include "math/StretchLevel.h"

// The height between two straight stretches of the trace: a line is fitted to
// each of two ranges and taken at the stretch's middle; the dimension stands
// at the cursor's x. The fits run when the ranges change, not for a cursor
// that only moves the dimension.
class MeanHeightMeasurement : public DistanceMeasurement
{
    Q_OBJECT
public:
    MeanHeightMeasurement(PlotWidget* plot, int traceCount);

    void calculate() override;
    // Ranges carry no snapped point.
    PointRef snappedPoint() const override;

private:
    void updateLevels();
    void showNoLevel();

    SelectionStamp m_levelsOf;
    MeasurementMath::StretchLevel m_levels[2];
};
