#pragma once

#include "AdditionalGeometrySelection.h"

// A reference point on the highest point of a range (the first of equal ones).
class FindMaxPoint : public AdditionalGeometrySelection
{
    Q_OBJECT
public:
    FindMaxPoint(PlotWidget* plot, int traceCount);

    void calculate() override;
};
