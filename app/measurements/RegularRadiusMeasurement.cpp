#include "RegularRadiusMeasurement.h"

#include "Logger.h"
#include "SpanCircleFit.h"

using namespace MeasurementMath;

RegularRadiusMeasurement::RegularRadiusMeasurement(PlotWidget* plot, int traceCount)
    : CurvatureMeasurement(REGULAR_RADIUS, plot, traceCount, 1)
{
    Logger::instance().log(INFO, QStringLiteral("RegularRadiusMeasurement started"));
}

void RegularRadiusMeasurement::calculate()
{
    if (!selectionsComplete() || selectionSpan(*selection(0)).isEmpty()) {
        showNoResult();
        return;
    }
    if (const std::optional<Circle> circle = firstRangeFit(fitCircleToSpan))
        showResult(circle->centre, circle->radius);
    else
        showNoResult(kNoCircleText);
}
