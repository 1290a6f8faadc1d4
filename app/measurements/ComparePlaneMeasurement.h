#pragma once

#include "Measurement.h"

// The base of the comparisons of a trace with a drawing: a measurement that
// yields no number of its own. It makes the trace curves pickable point by
// point and shows the plot's selection marker.
class ComparePlaneMeasurement : public Measurement
{
public:
    ComparePlaneMeasurement(int kind, PlotWidget* plot, const QString& name, int traceCount);

    QString name() const override;
    QString valueText() const override;
    double value() const override;
    void calculate() override;
    QString groupName() const override;
    void setLabelEnlarged(bool enlarged) override;
    void updateLabel() override;
    void updateSelectionMarker() override;
    void setHighlighted(bool highlighted) override;
    void reloadSettings() override;

protected:
    int traceCount() const { return m_traceCount; }
    // The trace curves 0 .. trace count - 1 become selectable as given.
    void setTraceCurvesSelectable(QCP::SelectionType selectable);

private:
    QString m_name;
    int m_traceCount = 0;
};
