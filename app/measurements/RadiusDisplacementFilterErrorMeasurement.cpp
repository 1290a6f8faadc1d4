#include "RadiusDisplacementFilterErrorMeasurement.h"

#include "Logger.h"
#include "SpanCircleFit.h"
#include "math/DeviationCurve.h"

using namespace MeasurementMath;

RadiusDisplacementFilterErrorMeasurement::RadiusDisplacementFilterErrorMeasurement(PlotWidget* plot, int traceCount)
    : ErrorMeasurement(CIRCLE_DEVIATION_FILTERED, plot, traceCount, 1, Reference::Circle)
{
    Logger::instance().log(INFO, QStringLiteral("RadiusDisplacementFilterErrorMeasurement start"));
}

std::optional<ErrorMeasurement::Deviations> RadiusDisplacementFilterErrorMeasurement::computeDeviations(const SelectedPoints& points)
{
    const std::optional<Circle> circle = fitCircleToSpans(points.stretches);
    if (!circle)
        return std::nullopt;
    return medianFiltered(
        circleDeviationCurve(points.frame.first, points.frame.last, circle->centre, circle->radius), *circle);
}
