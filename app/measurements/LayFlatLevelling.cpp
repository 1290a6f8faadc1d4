#include "LayFlatLevelling.h"

#include "CurveAccess.h"
#include "Selection.h"
#include "math/Levelling.h"

namespace LayFlatLevelling {

double angleOf(const Algos::RMS& line)
{
    return MeasurementMath::levellingAngle(line.coefficient(0), line.coefficient(1));
}

QPointF centreOf(const Selection& first)
{
    const auto* curve = qobject_cast<const QCPCurve*>(first.plottable.data());
    return QPointF(curvePointKey(curve, first.begin), curvePointValue(curve, first.begin));
}

void rotateTraces(PlotWidget* plot, int traceCount, double angle, const QPointF& centre)
{
    forEachTraceCurve(plot, traceCount, [&](QCPCurve* curve) {
        const QSharedPointer<QCPCurveDataContainer> data = curve->data();
        MeasurementMath::rotateInPlace(data->begin(), data->end(), centre, angle);
        PlotCurve::markDataChangedOf(curve);
    });
}

void pickSinglePoints(PlotWidget* plot, int traceCount)
{
    forEachTraceCurve(plot, traceCount, [](QCPCurve* curve) { curve->setSelectable(QCP::stSingleData); });
}

QString readyText(const Algos::RMS& line)
{
    return QStringLiteral("Укладка готова: [") + QString::number(line.coefficient(0), 'g', 6) + QStringLiteral(", ")
        + QString::number(line.coefficient(1), 'g', 6) + QStringLiteral("]");
}

} // namespace LayFlatLevelling
