#include "RegularAngleMeasurement.h"

#include "Logger.h"
#include "math/LineFit.h"

using namespace MeasurementMath;

RegularAngleMeasurement::RegularAngleMeasurement(PlotWidget* plot, int traceCount)
    : AngleMeasurement(REGULAR_ANGLE, plot, traceCount, 2)
{
    Logger::instance().log(INFO, QStringLiteral("RegularAngleMeasurement started"));
}

// Parallel lines, or a range whose line could not be fitted, have no vertex:
// no angle is drawn or computed.
void RegularAngleMeasurement::calculate()
{
    if (selectionCount() < 2 || !selectionsComplete()) {
        showNoAngle();
        emit statusText(QStringLiteral("Выделите два отрезка данных"));
        return;
    }
    const SlopedLine first = rangeLine(0);
    const SlopedLine second = rangeLine(1);
    if (!isFinite(first) || !isFinite(second)) {
        showNoAngle(kNoLineText);
        return;
    }
    const std::optional<QPointF> vertex = vertexOf(first, second);
    if (!vertex) {
        showNoAngle(QStringLiteral("выделенные отрезки параллельны"));
        return;
    }
    placeAngle(*vertex, directionOfSlope(first.k), directionOfSlope(second.k));
}
