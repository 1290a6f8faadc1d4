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
    if (const std::optional<Circle> fitted = firstRangeFit(fitCircleToSpan))
        placeConstruction(*fitted);
}
