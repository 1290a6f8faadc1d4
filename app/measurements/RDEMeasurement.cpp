#include "RDEMeasurement.h"

#include "Logger.h"
#include "SpanCircleFit.h"
#include "math/DeviationCurve.h"

using namespace MeasurementMath;

RDEMeasurement::RDEMeasurement(PlotWidget* plot, int traceCount)
    : ErrorMeasurement(CIRCLE_DEVIATION, plot, traceCount, 1, Reference::Circle)
{
    Logger::instance().log(INFO, QStringLiteral("RadiusDisplacementErrorMeasurement start"));
}

std::optional<ErrorMeasurement::Deviations> RDEMeasurement::computeDeviations(const SelectedPoints& points)
{
    const std::optional<Circle> circle = fitCircleToSpans(points.stretches);
    if (!circle)
        return std::nullopt;
    return bySpread(circleDeviationCurve(points.frame.first, points.frame.last, circle->centre, circle->radius),
                    *circle);
}
