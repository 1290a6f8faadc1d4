#pragma once

#include "ProbeMeasurement.h"

#include "measurements/CirclePrimitive.h"
#include "measurements/LinePrimitive.h"

#include "plot/PlotWidget.h"

#include <QMouseEvent>

// A stand-in for a measurement kind, for the manager's tests: the kind's name,
// type and flag, finishing at its n-th left release over the plot (none: it
// stays unfinished), and announcing that when the kind does
// (measumentFinished).
class ScriptedMeasurement : public ProbeMeasurement
{
public:
    ScriptedMeasurement(int code, PlotWidget* plot, int releasesToFinish = 1, bool announces = false)
        : ProbeMeasurement(plot, 0, measurementKind(code)->type)
        , m_name(measurementKind(code)->name)
        , m_releasesToFinish(releasesToFinish)
        , m_announces(announces)
    {
        setYieldsValue(measurementKind(code)->yieldsValue);
        if (plot && releasesToFinish > 0)
            addConnection(connect(plot, &QCustomPlot::mouseRelease, this, &ScriptedMeasurement::onRelease));
    }

    QString name() const override { return m_name; }
    void updateSelectionMarker() override { ++selectionMarkerUpdates; }

    // Finishes as the kind does at its last interaction.
    void complete()
    {
        finish();
        if (m_announces)
            emit measumentFinished();
    }

    int selectionMarkerUpdates = 0;

private:
    void onRelease(QMouseEvent* event)
    {
        if (event->button() == Qt::LeftButton && ++m_releases == m_releasesToFinish)
            complete();
    }

    QString m_name;
    int m_releasesToFinish;
    bool m_announces;
    int m_releases = 0;
};

// A circle construction, finished by the release of its creating press.
class ScriptedCircle : public ScriptedMeasurement, public CirclePrimitive
{
public:
    ScriptedCircle(PlotWidget* plot, const MeasurementMath::Circle& circle)
        : ScriptedMeasurement(CIRCLE, plot, 1, true)
        , m_circle(circle)
    {
    }
    MeasurementMath::Circle circle() const override { return m_circle; }

private:
    MeasurementMath::Circle m_circle;
};

// A line construction of one of the line kinds, finished by the release of
// its creating press, or at once when built from coordinates.
class ScriptedLine : public ScriptedMeasurement, public LinePrimitive
{
public:
    enum Origin { Placed, Built };

    ScriptedLine(int code, PlotWidget* plot, const QVector<double>& coefficients, Origin origin = Placed)
        : ScriptedMeasurement(code, plot, origin == Placed ? 1 : 0, true)
        , m_coefficients(coefficients)
    {
        if (origin == Built)
            complete();
    }
    QVector<double> lineCoefficients() const override { return m_coefficients; }

private:
    QVector<double> m_coefficients;
};
