#pragma once

#include "math/DeviationBand.h"
#include "math/DeviationCurve.h"

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
// at the band's end below the last point. Every item it creates is handed to
// `adopt`, so that its measurement draws it on its own layer; the graph
// removes all of them from the plot when it is destroyed.
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

    // Tick marks pointing into the band at its end and their values beside
    // them; the last value gets the unit on a line of its own.
    void drawScale(const MeasurementMath::BandScale& scale, const QString& unit);

    void setConnectorPen(const QPen& pen);

    // Hides the whole drawing; the next draw() shows it again.
    void hide();

    AdaptiveCurve* curve() const { return m_curve; }
    // The texts of the ticks shown, from the smallest value up.
    QStringList tickTexts() const;

private:
    // Item i of a pool of tick items, created when missing.
    template <typename Item>
    Item* pooled(QVector<QPointer<Item>>& pool, int i);
    void applyCurvePen();
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
};
