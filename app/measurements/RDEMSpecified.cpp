#include "RDEMSpecified.h"

#include "DisplayUnit.h"
#include "Logger.h"
#include "SpanCircleFit.h"
#include "math/DeviationCurve.h"
#include "math/LengthUnit.h"

using namespace MeasurementMath;

RDEMSpecified::RDEMSpecified(PlotWidget* plot, int traceCount, double radius)
    : ErrorMeasurement(CIRCLE_DEVIATION_SPECIFIED, plot, traceCount, 1, Reference::Circle)
    , m_radius(radius)
{
    Logger::instance().log(INFO, QStringLiteral("RDEMSpecified start"));
}

void RDEMSpecified::calculate()
{
    reloadSettings();
    ErrorMeasurement::calculate();
}

void RDEMSpecified::reloadSettings()
{
    m_radius = convertLength(m_radius, lengthUnitOfText(unitText()), DisplayUnit::current());
    updateUnitText();
}

ErrorMeasurement::Outcome RDEMSpecified::computeDeviations(const SelectedPoints& points)
{
    const std::optional<Circle> circle = fitGivenRadiusToSpan(points.frame, m_radius);
    if (!circle)
        return {std::nullopt, noFitReason()};
    return bySpread(CircleDeviations{
        circleDeviationCurve(points.frame.first, points.frame.last, circle->centre, circle->radius), *circle});
}
