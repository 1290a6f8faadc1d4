#include "ComparePlaneMeasurement.h"

#include "CurveAccess.h"

#include "plot/PlotWidget.h"

ComparePlaneMeasurement::ComparePlaneMeasurement(int kind, PlotWidget* plot, const QString& name, int traceCount)
    : Measurement(kind, plot, 0)
    , m_name(name)
    , m_traceCount(traceCount)
{
    setTraceCurvesSelectable(QCP::stSingleData);
    if (plot)
        plot->setSelectionMarkerVisible(true);
}

QString ComparePlaneMeasurement::name() const
{
    return m_name;
}

QString ComparePlaneMeasurement::valueText() const
{
    return QString();
}

double ComparePlaneMeasurement::value() const
{
    return 0;
}

void ComparePlaneMeasurement::calculate()
{
}

QString ComparePlaneMeasurement::groupName() const
{
    return QStringLiteral("Сравнение с чертежём");
}

void ComparePlaneMeasurement::setLabelEnlarged(bool)
{
}

void ComparePlaneMeasurement::updateLabel()
{
}

void ComparePlaneMeasurement::updateSelectionMarker()
{
    if (PlotWidget* p = plot())
        p->setSelectionMarkerVisible(true);
}

void ComparePlaneMeasurement::setHighlighted(bool)
{
}

void ComparePlaneMeasurement::reloadSettings()
{
}

void ComparePlaneMeasurement::setTraceCurvesSelectable(QCP::SelectionType selectable)
{
    forEachTraceCurve(plot(), m_traceCount, [selectable](QCPCurve* curve) { curve->setSelectable(selectable); });
}
