#include "RadiusDisplacementErrorMeasurementByTwoSegment.h"

#include "Logger.h"
#include "SpanCircleFit.h"
#include "math/DeviationCurve.h"

using namespace MeasurementMath;

RadiusDisplacementErrorMeasurementByTwoSegment::RadiusDisplacementErrorMeasurementByTwoSegment(PlotWidget* plot, int traceCount, int n)
    : ErrorMeasurement(CIRCLE_DEVIATION_BY_SEGMENTS, plot, traceCount, n, Reference::Circle)
{
    Logger::instance().log(INFO, QStringLiteral("RadiusDisplacementErrorMeasurementByTwoSegment start"));
}

std::optional<ErrorMeasurement::Deviations> RadiusDisplacementErrorMeasurementByTwoSegment::computeDeviations(const SelectedPoints& points)
{
    const std::optional<Circle> circle = fitCircleToSpans(points.stretches);
    if (!circle)
        return std::nullopt;
    return bySpread(segmentsDeviationCurve(points.data, points.ranges, circle->centre, circle->radius), *circle);
}
