#pragma once

#include "Measurement.h"
#include "math/ExtremePoint.h"

// A construction point found in one range of a trace: its one reference
// point follows the range while the user drags it, and the release that ends
// the drag finishes the measurement. Yields no value.
class AdditionalGeometrySelection : public Measurement
{
    Q_OBJECT
public:
    QString name() const override { return m_name; }
    QString valueText() const override { return QString(); }
    double value() const override { return 0; }
    QString groupName() const override;
    void setLabelEnlarged(bool) override {}
    void updateLabel() override {}
    void updateSelectionMarker() override;
    void setHighlighted(bool) override {}

protected:
    AdditionalGeometrySelection(int kind, PlotWidget* plot, const QString& name, int traceCount);

    // Prepares the plot for picking the range and creates the reference point.
    void prepareRangePick();
    // The reference point onto the extreme of the picked range; nothing
    // without a complete, non-empty range.
    void placeOnExtreme(MeasurementMath::Extreme extreme);

private:
    void onPlotMouseRelease(QMouseEvent* event);

    int m_traceCount;
    QString m_name;
};
