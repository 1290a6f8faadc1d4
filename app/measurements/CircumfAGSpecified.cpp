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
    const CurveSpan span = selectionSpan(*selection(0));
    if (span.isEmpty())
        return;
    const double radius = circle().radius;
    if (const std::optional<Circle> laid = keptFit({span}, [&span, radius] { return fitGivenRadiusToSpan(span, radius); }))
        placeConstruction(*laid);
}

void CircumfAGSpecified::reloadSettings()
{
    setConstructionRadius(convertLength(circle().radius, lengthUnitOfText(unitText()), DisplayUnit::current()));
    updateUnitText();
}
