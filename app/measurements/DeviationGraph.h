#pragma once

#include "math/DeviationBand.h"
#include "math/DeviationCurve.h"
#include "math/ScaleTicks.h"

#include "plot/AdaptiveCurve.h"

#include <QPointer>
#include <QString>
#include <QVector>

#include <functional>

class PlotWidget;
class QCPItemLine;
class QCPItemText;
class QCPLayerable;
class QPen;

// The drawing of a deviation measurement: the deviation curve scaled into the
// band below the selected stretch, two connectors from the stretch's first and
// last point down to the baseline, and a scale of tick marks with their values
// beside the band (DeviationScaleLayout: at the end below the last point where
// that is free). The scale is laid out again at every layout of the plot, so
// that it stays clear of the curves and the other labels at any zoom and in
// every image rendered. Every item it creates is handed to `adopt`, so that
// its measurement draws it on its own layer; the graph removes all of them
// from the plot when it is destroyed.
class DeviationGraph
{
public:
    using Adopt = std::function<void(QCPLayerable*)>;

    DeviationGraph(PlotWidget* plot, Adopt adopt);
    ~DeviationGraph();

    DeviationGraph(const DeviationGraph&) = delete;
    DeviationGraph& operator=(const DeviationGraph&) = delete;

    // The curve and the connectors for the band, then the scale without a
    // unit, all shown. The deviations must not be empty.
    void draw(const MeasurementMath::DeviationCurve& curve, const MeasurementMath::DeviationBand& band);

    // Tick marks and their values beside the band; the last value gets the
    // unit on a line of its own.
    void drawScale(const MeasurementMath::BandScale& scale, const QString& unit);

    void setConnectorPen(const QPen& pen);

    // Hides the whole drawing; the next draw() shows it again.
    void hide();

    AdaptiveCurve* curve() const { return m_curve; }
    // The values shown, from the smallest up.
    QStringList tickTexts() const;
    // The labels shown, from the smallest value up, and the tick marks.
    QVector<const QCPItemText*> tickLabels() const;
    QVector<const QCPItemLine*> tickMarks() const;

private:
    // Item i of a pool of tick items, created when missing.
    template <typename Item>
    Item* pooled(QVector<QPointer<Item>>& pool, int i);
    void applyCurvePen();
    // Places the tick marks and their labels for the plot's current layout.
    void layoutScale();
    // The curve and the connectors.
    void setShown(bool shown);

    QPointer<PlotWidget> m_plot;
    Adopt m_adopt;
    MeasurementMath::DeviationBand m_band;
    QPointer<AdaptiveCurve> m_curve;
    QPointer<QCPItemLine> m_firstConnector;
    QPointer<QCPItemLine> m_secondConnector;
    // Kept between drawings and shown as needed, so that following the mouse
    // does not create items.
    QVector<QPointer<QCPItemLine>> m_tickLines;
    QVector<QPointer<QCPItemText>> m_tickTexts;
    int m_ticksShown = 0;
    MeasurementMath::BandScale m_scale;
    MeasurementMath::ScaleTicks m_ticks;
    QMetaObject::Connection m_relayout;
};
