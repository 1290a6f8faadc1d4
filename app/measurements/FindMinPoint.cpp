#include "FindMinPoint.h"

FindMinPoint::FindMinPoint(PlotWidget* plot, int traceCount)
    : AdditionalGeometrySelection(MIN_POINT, plot, measurementKind(MIN_POINT)->name, traceCount)
{
    prepareRangePick();
}

void FindMinPoint::calculate()
{
    placeOnExtreme(MeasurementMath::Extreme::Lowest);
}
