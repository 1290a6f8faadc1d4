#include "RadiusDisplacementFilterErrorMeasurement.h"

#include "Logger.h"

RadiusDisplacementFilterErrorMeasurement::RadiusDisplacementFilterErrorMeasurement(PlotWidget* plot, int traceCount)
    : ErrorMeasurement(CIRCLE_DEVIATION_FILTERED, plot, traceCount, 1, Reference::Circle)
{
    Logger::instance().log(INFO, QStringLiteral("RadiusDisplacementFilterErrorMeasurement start"));
}

ErrorMeasurement::Outcome
RadiusDisplacementFilterErrorMeasurement::computeDeviations(const SelectedPoints& points)
{
    return medianFiltered(fittedCircleDeviations(points));
}
