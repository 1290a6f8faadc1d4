#pragma once

#include "measurements/Measurement.h"

// A minimal measurement kind for the tests: its value is the cursor's x, and
// it counts what the base class asks of it.
class ProbeMeasurement : public Measurement
{
public:
    explicit ProbeMeasurement(PlotWidget* plot, int reperPointCount = 0, int kind = DIRECT_DISTANCE)
        : Measurement(kind, plot, reperPointCount)
    {
    }

    QString name() const override { return QStringLiteral("Проба"); }
    QString valueText() const override { return QString::number(value(), 'f', 4) + QStringLiteral("мм"); }
    double value() const override { return cursor().x(); }
    void calculate() override { ++calculations; }
    QString groupName() const override { return QStringLiteral("Длины"); }
    void setLabelEnlarged(bool) override {}
    void updateLabel() override {}
    void setHighlighted(bool on) override { highlighted = on; }

    using Measurement::adoptItem;
    using Measurement::setMoveRedraw;

    int calculations = 0;
    bool highlighted = true;
};
