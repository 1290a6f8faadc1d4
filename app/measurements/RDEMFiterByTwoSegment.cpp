#include "RDEMFiterByTwoSegment.h"

#include "Logger.h"

RDEMFiterByTwoSegment::RDEMFiterByTwoSegment(PlotWidget* plot, int traceCount, int n)
    : ErrorMeasurement(CIRCLE_DEVIATION_FILTERED_BY_SEGMENTS, plot, traceCount, n, Reference::Circle)
{
    Logger::instance().log(INFO, QStringLiteral("RadiusDisplacementErrorMeasurementByTwoSegment start"));
}

ErrorMeasurement::Outcome RDEMFiterByTwoSegment::computeDeviations(const SelectedPoints& points)
{
    return medianFiltered(fittedCircleDeviationsThroughGaps(points));
}
