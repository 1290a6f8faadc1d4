#pragma once

#include "Measurement.h"

#include "RMS.h"

#include <QPointF>

// Levels a contour by two stretches that lie on one line: one line is fitted
// to both ranges together, and the release that completes the second range
// writes the levelling angle and centre into the cells the caller owns (the
// measurements manager's), rotates the trace curves' data with the values
// read back from them, finishes and reports as LayFlatMeasurement does. The
// cells must outlive the measurement.
class LayFlatByTwoMeasurement : public Measurement
{
    Q_OBJECT
public:
    LayFlatByTwoMeasurement(PlotWidget* plot, int traceCount, double* angle, QPointF* centre);

    QString name() const override;
    QString valueText() const override;
    double value() const override { return 0; }
    void calculate() override;
    QString groupName() const override { return QString(); }
    void setLabelEnlarged(bool) override {}
    void updateLabel() override {}
    void setHighlighted(bool) override {}

    const Algos::RMS& fitter() const { return m_fitter; }

private:
    void onPlotMouseRelease(QMouseEvent* event);
    void level();

    int m_traceCount;
    Algos::RMS m_fitter;
    double* m_angle;
    QPointF* m_centre;
    // Stand in for cells the caller did not give.
    double m_ownAngle = 0;
    QPointF m_ownCentre;
};
