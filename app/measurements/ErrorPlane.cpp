#include "ErrorPlane.h"

#include "DxfDrawing.h"
#include "Logger.h"

using namespace MeasurementMath;

ErrorPlane::ErrorPlane(PlotWidget* plot, int traceCount, const DxfDrawing* drawing)
    : ErrorMeasurement(GRAPH_DEVIATION, plot, traceCount, 1, Reference::Line)
    , m_drawing(drawing)
{
    setHidesSelectionMarker(true);
    Logger::instance().log(INFO, QStringLiteral("ErrorPlane started"));
}

ErrorMeasurement::Outcome ErrorPlane::computeDeviations(const SelectedPoints& points)
{
    if (!m_drawing || m_drawing->isEmpty())
        return {std::nullopt, QStringLiteral("сначала импортируйте чертёж")};
    DeviationCurve curve;
    double sum = 0;
    for (auto it = points.frame.first; it != points.frame.last; ++it) {
        const double d = m_drawing->distanceToNearestEntity(it->key, it->value);
        curve.keys.append(it->key);
        curve.deviations.append(d);
        sum += d;
    }
    if (curve.isEmpty())
        return {};
    const double mean = sum / curve.size();
    return {Deviations{std::move(curve), mean, std::nullopt}, QString()};
}
