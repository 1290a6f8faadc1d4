#include "HorisontalDistanceMeasurment.h"

#include "math/Dimension.h"

HorisontalDistanceMeasurment::HorisontalDistanceMeasurment(PlotWidget* plot)
    : DistanceMeasurement(HORIZONTAL_DISTANCE, plot, PointMode::Points)
{
    plot->setInteractions(QCP::iRangeSelection | QCP::iRangeZoom);
    logStart(QStringLiteral("HorisontalDistanceMeasurment"));
}

void HorisontalDistanceMeasurment::calculate()
{
    showDimension(MeasurementMath::horizontalDimension(leftPoint(), rightPoint(), cursorPosition()));
}
