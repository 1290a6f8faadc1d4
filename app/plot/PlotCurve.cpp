#include "PlotCurve.h"

#include "PlotWidget.h"

PlotCurve::PlotCurve(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : QCPCurve(keyAxis, valueAxis)
{
    if (auto* plot = qobject_cast<PlotWidget*>(parentPlot()))
        plot->registerCurve(this);
}
