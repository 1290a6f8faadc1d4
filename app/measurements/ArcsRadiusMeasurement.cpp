#include "ArcsRadiusMeasurement.h"

#include "Logger.h"
#include "SpanCircleFit.h"

using namespace MeasurementMath;

ArcsRadiusMeasurement::ArcsRadiusMeasurement(PlotWidget* plot, int traceCount)
    : CurvatureMeasurement(ARCS_RADIUS, plot, traceCount, 2)
{
    Logger::instance().log(INFO, QStringLiteral("ArcsRadiusMeasurement started"));
}

void ArcsRadiusMeasurement::calculate()
{
    if (!selectionsComplete() || selectionCount() != 2) {
        showNoResult();
        emit statusText(QStringLiteral("Выделите две арки"));
        return;
    }
    const QVector<CurveSpan> arcs{selectionSpan(*selection(0)), selectionSpan(*selection(1))};
    const std::optional<Circle> circle = keptFit(arcs, [&arcs] { return fitCircleToSpans(arcs); });
    if (circle)
        showResult(circle->centre, circle->radius);
    else
        showNoResult(kNoCircleText);
}
