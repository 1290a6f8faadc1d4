#include "CircumfAGSpecified.h"

#include "DisplayUnit.h"
#include "Logger.h"
#include "SpanCircleFit.h"
#include "math/LengthUnit.h"

using namespace MeasurementMath;

CircumfAGSpecified::CircumfAGSpecified(PlotWidget* plot, int traceCount, double radius)
    : CircleConstruction(CIRCLE_SPECIFIED, plot, traceCount, radius)
{
    Logger::instance().log(INFO, QStringLiteral("CircumfAGMeasurement started"));
}

void CircumfAGSpecified::calculate()
{
    if (!selectionsComplete())
        return;
    reloadSettings();
    const double radius = circle().radius;
    if (const auto laid = firstRangeFit([radius](const CurveSpan& span) { return fitGivenRadiusToSpan(span, radius); }))
        placeConstruction(*laid);
}

void CircumfAGSpecified::reloadSettings()
{
    setConstructionRadius(convertLength(circle().radius, lengthUnitOfText(unitText()), DisplayUnit::current()));
    updateUnitText();
}
