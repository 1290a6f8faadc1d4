#include "RadiusDisplacementErrorMeasurementByTwoSegment.h"

#include "Logger.h"

RadiusDisplacementErrorMeasurementByTwoSegment::RadiusDisplacementErrorMeasurementByTwoSegment(PlotWidget* plot,
                                                                                               int traceCount, int n)
    : ErrorMeasurement(CIRCLE_DEVIATION_BY_SEGMENTS, plot, traceCount, n, Reference::Circle)
{
    Logger::instance().log(INFO, QStringLiteral("RadiusDisplacementErrorMeasurementByTwoSegment start"));
}

ErrorMeasurement::Outcome
RadiusDisplacementErrorMeasurementByTwoSegment::computeDeviations(const SelectedPoints& points)
{
    return bySpread(fittedCircleDeviationsThroughGaps(points));
}
