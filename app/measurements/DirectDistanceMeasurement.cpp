#include "DirectDistanceMeasurement.h"

#include "math/Dimension.h"

DirectDistanceMeasurement::DirectDistanceMeasurement(PlotWidget* plot)
    : DistanceMeasurement(DIRECT_DISTANCE, plot, PointMode::Points)
{
    emit statusText(name() + QStringLiteral(": выделите участок измерения"));
    logStart(QStringLiteral("DirectDistanceMeasurement"));
}

void DirectDistanceMeasurement::calculate()
{
    showDimension(MeasurementMath::straightDimension(leftPoint(), rightPoint(), cursorPosition()));
}
