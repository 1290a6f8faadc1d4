#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

#include "AdaptiveCurve.h"
#include "ProfileData.h"
#include "XAxisMarker.h"

class AbstractTrace;
class PlotWidget;
class TraceGraphsHost;

// The plot items of one trace in the three plots of the profile workspace:
// the profile on the main plot, the height histogram and the material-ratio
// curve on the two side plots (drawn sideways: height up, beside the main
// plot's height axis), the R-line and level lines on all three, and the
// markers at the ends of the selected stretch. It turns the trace's display
// store into them in the display unit, straightens the profile along its
// least-squares parabola, crops the trace to the selection and brings the
// instrument's cut-off in line with the standard after a recording.
//
// The profile curve, the histogram graph and the ratio graph carry the
// property "gholder" naming their holder. Nothing here replots; the caller
// replots after a change. GUI thread only; call it while no provider writes
// the trace, or from the batch handler on the GUI thread.
class TraceGraphsHolder : public QObject
{
    Q_OBJECT
public:
    static constexpr const char* kHolderProperty = "gholder";

    // The host may be null: the holder then asks nothing and selects no cut-off.
    TraceGraphsHolder(TraceGraphsHost* host, AbstractTrace* trace, PlotWidget* mainPlot, PlotWidget* histogramPlot,
                      PlotWidget* ratioPlot);
    // Takes every item and plottable of the holder off its plot (the profile
    // curve also leaves the plot's curve registry).
    ~TraceGraphsHolder() override;

    // The holder whose plottable this is; null for any other plottable.
    static TraceGraphsHolder* fromPlottable(const QCPAbstractPlottable* plottable);

    // "mm", "mkm" or "nm" (exactly); any other text changes nothing. With
    // `redraw`, updateGraphs with the last flags.
    void setUnit(const QString& unit, bool redraw);
    // Copies the display store in the display unit into the profile curve;
    // with `rLine` fits the parabola and, with `straighten` too, flattens the
    // profile along it, lifted to the root-mean-square level.
    void updateGraphs(bool rLine, bool straighten);
    // updateGraphs, unless the flags, the unit and the trace's display store
    // are those of the last build. True when it rebuilt.
    bool refreshGraphs(bool rLine, bool straighten);
    // On: the horizontal lines at the root-mean-square level; off: the fit graph.
    void showMeanLines(bool on);
    void showPoints(bool on);
    void setVisible(bool on);
    bool isVisible() const;
    void highlight();
    void unhighlight();
    // Crops the trace to the first range selected on the profile curve.
    void cropToSelection();
    // Puts the level lines at the height given in micrometres, the level the
    // trace's "Dp" is computed with; they stay at it when the unit changes.
    void markLevel(double micrometres);
    // The histogram of the heights inside the main plot's visible ranges and
    // the ratio curve over its visible height range; a profile trace keeps
    // the histogram (in micrometres) as its height distribution.
    void updateHeightDistribution();
    // updateHeightDistribution, skipping the histogram unless the main plot's
    // visible ranges, the profile or the density changed since it was last
    // computed, and the ratio curve unless the height range or the profile
    // did. True when either was computed again.
    bool refreshHeightDistribution();

    // How often the profile, the histogram and the ratio curve were built.
    int graphBuildCount() const { return m_graphBuilds; }
    int histogramBuildCount() const { return m_histogramBuilds; }
    int ratioBuildCount() const { return m_ratioBuilds; }

    // After a recording: proposes (or applies, as the user chose to
    // remember) the standard cut-off for the trace's Ra, limited to cut-offs
    // that fit twice into the trace, until it is stable. Profile traces only.
    void adjustFilterToStandard();
    // Asks whether to switch to `cutOff` micrometres; true for "Да".
    bool askFilterChange(int cutOff);

    AbstractTrace* trace() const { return m_trace; }
    AdaptiveCurve* profileCurve() const { return m_profileCurve; }
    QCPGraph* fitGraph() const { return m_fitGraph; }
    QCPGraph* histogramGraph() const { return m_histogramGraph; }
    QCPGraph* ratioGraph() const { return m_ratioGraph; }
    // One per plot, in the order main, histogram, ratio.
    QVector<QCPItemStraightLine*> rmsLines() const;
    QVector<QCPItemStraightLine*> levelLines() const;
    XAxisMarker* startMarker() const { return m_startMarker; }
    XAxisMarker* endMarker() const { return m_endMarker; }

    const QVector<double>& keys() const { return m_keys; }
    const QVector<double>& values() const { return m_values; }
    const QVector<double>& fitKeys() const { return m_fitKeys; }
    const QVector<double>& fitValues() const { return m_fitValues; }
    const QVector<double>& ratioLevels() const { return m_ratioLevels; }
    const QVector<double>& ratioPercents() const { return m_ratioPercents; }
    double rmsLevel() const { return m_rmsLevel; }

    QString unitText() const { return m_unitText; }
    double unitFactor() const { return m_unitFactor; }
    bool rLine() const { return m_rLine; }
    bool straighten() const { return m_straighten; }
    int histogramDensity() const { return m_histogramDensity; }
    void setHistogramDensity(int density) { m_histogramDensity = density; }
    bool meanLinesShown() const { return m_meanLinesShown; }
    bool levelMarked() const { return m_level.has_value(); }
    // The marked level in micrometres; 0 while none is marked.
    double level() const { return m_level.value_or(0); }
    bool markersShown() const { return m_markersShown; }

public slots:
    void graphSelectionChanged(const QCPDataSelection& selection);

private:
    static constexpr int kPlots = 3;

    // What a build of the profile curve depends on.
    struct GraphInputs
    {
        bool rLine = false;
        bool straighten = false;
        double unitFactor = 0;
        quint64 displayRevision = 0;
        bool operator==(const GraphInputs& o) const
        {
            return rLine == o.rLine && straighten == o.straighten && unitFactor == o.unitFactor
                && displayRevision == o.displayRevision;
        }
    };
    // What the histogram (all of it) and the ratio curve (no x range) depend on.
    struct DistributionInputs
    {
        int graphBuild = -1;
        int density = 0;
        double xLower = 0;
        double xUpper = 0;
        double yLower = 0;
        double yUpper = 0;
        bool operator==(const DistributionInputs& o) const
        {
            return graphBuild == o.graphBuild && density == o.density && xLower == o.xLower && xUpper == o.xUpper
                && yLower == o.yLower && yUpper == o.yUpper;
        }
        bool sameHeights(const DistributionInputs& o) const
        {
            return graphBuild == o.graphBuild && yLower == o.yLower && yUpper == o.yUpper;
        }
    };

    GraphInputs currentGraphInputs(bool rLine, bool straighten) const;
    DistributionInputs currentDistributionInputs() const;
    void updateHistogram(const DistributionInputs& inputs);
    void updateRatioCurve(const DistributionInputs& inputs);

    void copyDisplayData();
    QVector<QCPAbstractPlottable*> tracePlottables() const;
    void setTracePen(const QPen& pen);
    void setHorizontalLine(QCPItemStraightLine* line, double height, const QPen& pen);
    void placeLevelLines();
    void hideMarkers();
    void cropTrace(int begin, int end);
    double raOfTrace() const;
    bool acceptsCutOff(int cutOff);
    void storeHeightDistribution(ProfileData distribution);

    TraceGraphsHost* m_host;
    AbstractTrace* m_trace;
    std::array<QPointer<PlotWidget>, kPlots> m_plots;
    QPointer<AdaptiveCurve> m_profileCurve;
    QPointer<QCPGraph> m_fitGraph;
    std::array<QPointer<QCPItemStraightLine>, kPlots> m_rmsLines;
    std::array<QPointer<QCPItemStraightLine>, kPlots> m_levelLines;
    QPointer<XAxisMarker> m_startMarker;
    QPointer<XAxisMarker> m_endMarker;
    QPointer<QCPGraph> m_histogramGraph;
    QPointer<QCPGraph> m_ratioGraph;

    QVector<double> m_keys;
    QVector<double> m_values;
    QVector<double> m_fitKeys;
    QVector<double> m_fitValues;
    QVector<double> m_ratioPercents;
    QVector<double> m_ratioLevels;
    double m_rmsLevel = 0;
    int m_histogramDensity = 0;
    bool m_meanLinesShown = false;
    // In micrometres; none until a level is marked.
    std::optional<double> m_level;
    bool m_markersShown = false;
    QString m_unitText;
    double m_unitFactor = 1.0;
    bool m_straighten = false;
    bool m_rLine = false;

    GraphInputs m_builtGraph;
    bool m_graphBuilt = false;
    DistributionInputs m_builtHistogram;
    DistributionInputs m_builtRatio;
    int m_graphBuilds = 0;
    int m_histogramBuilds = 0;
    int m_ratioBuilds = 0;
};
