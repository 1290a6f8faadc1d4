#include "FindMaxPoint.h"

FindMaxPoint::FindMaxPoint(PlotWidget* plot, int traceCount)
    : AdditionalGeometrySelection(MAX_POINT, plot, measurementKind(MAX_POINT)->name, traceCount)
{
    prepareRangePick();
}

void FindMaxPoint::calculate()
{
    placeOnExtreme(MeasurementMath::Extreme::Highest);
}
