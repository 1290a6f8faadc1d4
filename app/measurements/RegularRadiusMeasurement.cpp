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
    if (!selectionsComplete())
        return;
    const CurveSpan span = selectionSpan(*selection(0));
    if (span.isEmpty())
        return;
    const std::optional<Circle> circle = keptFit({span}, [&span] { return fitCircleToSpans({span}); });
    if (circle)
        showResult(circle->centre, circle->radius);
}
