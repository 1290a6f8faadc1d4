#pragma once

#include "AdditionalGeometrySelection.h"

// A reference point on the lowest point of a range (the first of equal ones).
class FindMinPoint : public AdditionalGeometrySelection
{
    Q_OBJECT
public:
    FindMinPoint(PlotWidget* plot, int traceCount);

    void calculate() override;
};
