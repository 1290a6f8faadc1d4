#include "VerticalAngleMeasurement.h"

#include "Logger.h"

VerticalAngleMeasurement::VerticalAngleMeasurement(PlotWidget* plot, int traceCount)
    : AngleMeasurement(VERTICAL_ANGLE, plot, traceCount, 1)
{
    Logger::instance().log(INFO, QStringLiteral("VerticalAngleMeasurement started"));
}

void VerticalAngleMeasurement::calculate()
{
    placeAngleToAxis(MeasurementMath::verticalDirection());
}
