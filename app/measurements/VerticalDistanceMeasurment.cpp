#include "VerticalDistanceMeasurment.h"

#include "math/Dimension.h"

VerticalDistanceMeasurment::VerticalDistanceMeasurment(PlotWidget* plot)
    : DistanceMeasurement(VERTICAL_DISTANCE, plot, PointMode::Points)
{
    logStart(QStringLiteral("VerticalDistanceMeasurment"));
}

void VerticalDistanceMeasurment::calculate()
{
    showDimension(MeasurementMath::verticalDimension(leftPoint(), rightPoint(), cursorPosition()));
}
