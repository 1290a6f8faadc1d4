#pragma once

#include "Measurement.h"

#include "RMS.h"

// Levels a contour traced at a slant: a line is fitted to one straight
// stretch of it, and the release that ends the drag rotates the data of the
// trace curves about the stretch's first point so that the line lies flat,
// finishes, and reports the rotation (setNewAngleAndCenterRot) and the
// changed data (graphDataChanged). A stretch without a line (all its keys
// equal, or nothing picked) levels nothing and leaves it unfinished.
class LayFlatMeasurement : public Measurement
{
    Q_OBJECT
public:
    LayFlatMeasurement(PlotWidget* plot, int traceCount);

    QString name() const override;
    QString valueText() const override;
    double value() const override { return 0; }
    void calculate() override;
    QString groupName() const override { return QString(); }
    void setLabelEnlarged(bool) override {}
    void updateLabel() override {}
    void updateSelectionMarker() override;
    void setHighlighted(bool) override {}

    // The line fitted by the last calculation.
    const Algos::RMS& fitter() const { return m_fitter; }

private:
    void onPlotMouseRelease(QMouseEvent* event);

    int m_traceCount;
    Algos::RMS m_fitter;
};
