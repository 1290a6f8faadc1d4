#pragma once

#include "CurveAccess.h"
#include "Measurement.h"
#include "ReportLabelFont.h"
#include "SpanFingerprint.h"
#include "math/Circle.h"
#include "math/DeviationBand.h"
#include "math/DeviationCurve.h"

#include <QPointer>

#include <memory>
#include <optional>

class DeviationGraph;
class QCPItemEllipse;
class QCPItemText;

// The base of the deviation measurements: how far one or several selected
// stretches of a contour curve depart from a reference form. The user drags
// the stretches with the live range selection; the release that completes the
// last one locks them, the band with the deviation curve then follows the
// mouse's height, and the next left release places it.
//
// A kind supplies computeDeviations(): the deviation of each point, the value
// and, for the circle kinds, the circle to draw. calculate() does the rest:
// it frames the band below the stretch (baseline at the mouse, mirrored below
// the lowest point), draws the curve, the connectors and the scale
// (DeviationGraph), the label and the circle, and reports the value in the
// status line. The deviations are kept while the selected points stay the
// same (SpanFingerprint), so that a mouse that only moves the band does not
// fit again; a finished measurement always computes afresh. Points that give
// no deviations leave nothing drawn and the value not computed, with the
// kind's reason on the status line.
class ErrorMeasurement : public Measurement
{
public:
    ~ErrorMeasurement() override;

    QString name() const override;
    // The value with six decimals followed by the unit; "неизвестно" before a
    // stretch was picked, the mark of a value not computed while the picked
    // points give none.
    QString valueText() const override;
    double value() const override;
    void calculate() override;
    QString groupName() const override;
    void setLabelEnlarged(bool enlarged) override;
    void updateLabel() override;
    void updateSelectionMarker() override;
    void setHighlighted(bool highlighted) override;
    void reloadSettings() override;
    double tolerance() const override;

    bool isPlacing() const { return m_placing; }
    // "мм", "мкм" or "нм", the display unit at the last reload.
    QString unitText() const { return m_unitText; }
    const DeviationGraph& deviationGraph() const { return *m_graph; }
    const MeasurementMath::DeviationBand& band() const { return m_band; }
    const QCPItemText* valueLabel() const { return m_label; }
    // Null for the kinds that deviate from a line.
    const QCPItemEllipse* circleItem() const { return m_circle; }

protected:
    // The reference form: circles need three points, lines two, and the
    // circle kinds draw their circle.
    enum class Reference { Line, Circle };

    // code: the creation code, whose row of the kinds table gives the type,
    // the name and the group name. selectionsNeeded: the stretches to pick.
    ErrorMeasurement(E_MEASUREMENTS code, PlotWidget* plot, int traceCount, int selectionsNeeded, Reference reference);

    // The points the deviations are computed over.
    struct SelectedPoints
    {
        // One per selection, each running forward in data order, all on one curve.
        QVector<CurveSpan> stretches;
        // The same by data indexes of that curve.
        QVector<MeasurementMath::IndexRange> ranges;
        // From the first selected point to the last: the band hangs below it.
        CurveSpan frame;
        // The curve's first data point, the origin of the indexes.
        QCPCurveDataContainer::const_iterator data{};
    };

    struct Deviations
    {
        MeasurementMath::DeviationCurve curve;
        double value = 0;
        // The reference circle, drawn by the circle kinds.
        std::optional<MeasurementMath::Circle> circle;
    };

    // The deviations of the selected points, or none with the reason.
    struct Outcome
    {
        std::optional<Deviations> deviations;
        QString reason;
    };

    // The deviations of the selected points; none when they cannot be
    // computed (a fit that is not finite, no median, no drawing). Runs only
    // when the selected points change.
    virtual Outcome computeDeviations(const SelectedPoints& points) = 0;

    // A reference circle with the deviation of each selected point from it.
    struct CircleDeviations
    {
        MeasurementMath::DeviationCurve curve;
        MeasurementMath::Circle circle;
    };

    // The least-squares circle through the stretches, with the deviations of
    // the points of the first stretch in data order; none when the fit is not
    // finite.
    static std::optional<CircleDeviations> fittedCircleDeviations(const SelectedPoints& points);
    // The same circle, with the deviations of every point from the first
    // selected to the last (the gaps between the stretches included), by key.
    static std::optional<CircleDeviations> fittedCircleDeviationsThroughGaps(const SelectedPoints& points);

    // Deviations valued by their spread (largest minus smallest); none when
    // there are none or the spread is not finite: the reference form does not
    // fit the points.
    Outcome bySpread(MeasurementMath::DeviationCurve curve,
                     std::optional<MeasurementMath::Circle> circle = std::nullopt) const;
    Outcome bySpread(std::optional<CircleDeviations> deviations) const;

    // The deviations smoothed by a running median over 0.25 mm of keys in the
    // display unit, valued by the medians' spread; none without a median (a
    // stretch too short for the window) or without a circle.
    Outcome medianFiltered(std::optional<CircleDeviations> deviations) const;

    // Why the reference form gives no deviations for the points.
    QString noFitReason() const;

    // The kinds that hide the plot's selection marker while they calculate.
    void setHidesSelectionMarker(bool hides) { m_hidesSelectionMarker = hides; }

    // Drops the kept deviations: the next calculate computes them again. For
    // kinds whose deviations depend on more than the selected points.
    void forgetDeviations();

    // The deviation curve scaled into the current band, with the connectors
    // and the scale.
    void drawDeviationCurve(const MeasurementMath::DeviationCurve& curve);

    // The value label: text, a line break and the label text (the other way
    // round when the alignment holds Qt::AlignBottom), at position, rotated by
    // angle degrees, aligned by alignment.
    void placeLabel(const QString& text, QPointF position, double angle, int alignment);

    // The circle item spans the circle (circle kinds only).
    void setCircle(QPointF centre, double radius);
    // The circle, then the label with the status text.
    void showCircleAndLabel(QPointF centre, double radius);

    // Reads the display unit; returns whether the unit text changed. A value
    // of the setting that names no unit leaves it as it was.
    bool updateUnitText();

private:
    std::optional<SelectedPoints> selectedPoints();
    std::optional<SelectedPoints> oneStretch() const;
    std::optional<SelectedPoints> severalStretches() const;
    void showLabel();
    // Nothing drawn and the value not computed, for the reason given.
    void showNoDeviations(const QString& reason = QString());
    void onPlotMouseRelease(QMouseEvent* event);

    struct Kept
    {
        SpanFingerprint fingerprint;
        Outcome outcome;
        MeasurementMath::BandFrame frame;
    };

    const MeasurementKind& m_kind;
    double m_value = 0;
    MeasurementMath::DeviationBand m_band;
    std::unique_ptr<DeviationGraph> m_graph;
    QString m_unitText;
    QPointer<QCPItemText> m_label;
    ReportLabelFont m_reportFont;
    QPointer<QCPItemEllipse> m_circle;
    bool m_placing = false;
    int m_traceCount = 0;
    int m_selectionsNeeded = 1;
    Reference m_reference = Reference::Line;
    int m_minimumPoints = 2;
    bool m_hidesSelectionMarker = false;
    std::optional<Kept> m_kept;
};
