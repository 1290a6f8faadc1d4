#include "RMSEMeasurement.h"

#include "Logger.h"
#include "math/DeviationCurve.h"

using namespace MeasurementMath;

RMSEMeasurement::RMSEMeasurement(PlotWidget* plot, int traceCount)
    : ErrorMeasurement(LINE_DEVIATION, plot, traceCount, 1, Reference::Line)
{
    setHidesSelectionMarker(true);
    Logger::instance().log(INFO, QStringLiteral("RMSEMeasurement started"));
}

ErrorMeasurement::Outcome RMSEMeasurement::computeDeviations(const SelectedPoints& points)
{
    return bySpread(lineDeviationCurve(points.frame.first, points.frame.last));
}
