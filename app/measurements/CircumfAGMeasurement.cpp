#include "CircumfAGMeasurement.h"

#include "Logger.h"
#include "SpanCircleFit.h"

using namespace MeasurementMath;

CircumfAGMeasurement::CircumfAGMeasurement(PlotWidget* plot, int traceCount)
    : CircleConstruction(CIRCLE, plot, traceCount, 0)
{
    Logger::instance().log(INFO, QStringLiteral("CircumfAGMeasurement started"));
}

void CircumfAGMeasurement::calculate()
{
    if (!selectionsComplete())
        return;
    const CurveSpan span = selectionSpan(*selection(0));
    if (span.isEmpty())
        return;
    if (const std::optional<Circle> fitted = keptFit({span}, [&span] { return fitCircleToSpans({span}); }))
        placeConstruction(*fitted);
}
