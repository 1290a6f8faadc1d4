#include "ErrorPlane.h"

#include "DxfDrawing.h"
#include "Logger.h"

using namespace MeasurementMath;

ErrorPlane::ErrorPlane(PlotWidget* plot, int traceCount)
    : ErrorMeasurement(GRAPH_DEVIATION, plot, traceCount, 1, Reference::Line)
{
    setHidesSelectionMarker(true);
    Logger::instance().log(INFO, QStringLiteral("ErrorPlane started"));
}

ErrorMeasurement::Outcome ErrorPlane::computeDeviations(const SelectedPoints& points)
{
    DxfDrawing& drawing = DxfDrawing::instance();
    if (drawing.isEmpty())
        return {std::nullopt, QStringLiteral("сначала импортируйте чертёж")};
    DeviationCurve curve;
    double sum = 0;
    for (auto it = points.frame.first; it != points.frame.last; ++it) {
        const double d = drawing.distanceToNearestEntity(it->key, it->value);
        curve.keys.append(it->key);
        curve.deviations.append(d);
        sum += d;
    }
    if (curve.isEmpty())
        return {};
    const double mean = sum / curve.size();
    return {Deviations{std::move(curve), mean, std::nullopt}, QString()};
}
