#include "HorizontalAngleMeasurement.h"

#include "Logger.h"

HorizontalAngleMeasurement::HorizontalAngleMeasurement(PlotWidget* plot, int traceCount)
    : AngleMeasurement(HORIZONTAL_ANGLE, plot, traceCount, 1)
{
    Logger::instance().log(INFO, QStringLiteral("HorizontalAngleMeasurement started"));
}

void HorizontalAngleMeasurement::calculate()
{
    placeAngleToAxis(MeasurementMath::horizontalDirection());
}
