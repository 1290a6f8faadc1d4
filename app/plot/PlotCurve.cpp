#include "PlotCurve.h"

#include "PlotWidget.h"

PlotCurve::PlotCurve(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : QCPCurve(keyAxis, valueAxis)
{
    if (auto* plot = qobject_cast<PlotWidget*>(parentPlot()))
        plot->registerCurve(this);
}

quint64 PlotCurve::dataRevisionOf(const QCPCurve* curve)
{
    const auto* plotCurve = qobject_cast<const PlotCurve*>(curve);
    return plotCurve ? plotCurve->dataRevision() : 0;
}

void PlotCurve::markDataChangedOf(QCPCurve* curve)
{
    if (auto* plotCurve = qobject_cast<PlotCurve*>(curve))
        plotCurve->markDataChanged();
}
