#include "PickCurve.h"

PickCurve::PickCurve(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : PlotCurve(keyAxis, valueAxis)
{
}

void PickCurve::draw(QCPPainter* painter)
{
    if (dataCount() > 1)
        PlotCurve::draw(painter);
}
