#include "RDEMeasurement.h"

#include "Logger.h"

RDEMeasurement::RDEMeasurement(PlotWidget* plot, int traceCount)
    : ErrorMeasurement(CIRCLE_DEVIATION, plot, traceCount, 1, Reference::Circle)
{
    Logger::instance().log(INFO, QStringLiteral("RadiusDisplacementErrorMeasurement start"));
}

ErrorMeasurement::Outcome RDEMeasurement::computeDeviations(const SelectedPoints& points)
{
    return bySpread(fittedCircleDeviations(points));
}
