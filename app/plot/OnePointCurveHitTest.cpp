#include "OnePointCurveHitTest.h"

double onePointCurveHitTest(const QCPCurve* curve, const QPointF& pos)
{
    const QCPAxis* keyAxis = curve->keyAxis();
    const QCPAxis* valueAxis = curve->valueAxis();
    if (curve->selectable() == QCP::stNone || curve->dataCount() != 1 || !keyAxis || !valueAxis)
        return -1;
    if (!keyAxis->axisRect()->rect().contains(pos.toPoint())
        && !curve->parentPlot()->interactions().testFlag(QCP::iSelectPlottablesBeyondAxisRect))
        return -1;
    if (curve->lineStyle() == QCPCurve::lsNone && curve->scatterStyle().isNone())
        return -1;
    const QCPCurveData& point = *curve->data()->constBegin();
    const double keyPixel = keyAxis->coordToPixel(point.key);
    const double valuePixel = valueAxis->coordToPixel(point.value);
    const QPointF pixel = keyAxis->orientation() == Qt::Horizontal ? QPointF(keyPixel, valuePixel)
                                                                   : QPointF(valuePixel, keyPixel);
    return QCPVector2D(pixel - pos).length();
}
