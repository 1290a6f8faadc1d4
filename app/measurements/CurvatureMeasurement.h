#pragma once

#include "CurveAccess.h"
#include "Measurement.h"
#include "RangeProtocol.h"
#include "ReportLabelFont.h"
#include "SpanFingerprint.h"
#include "math/Circle.h"

#include <QPointer>

#include <functional>
#include <optional>

class QCPAbstractItem;
class QCPItemEllipse;
class QCPItemLine;
class QCPItemText;

// The base of the kinds that fit a circle to selected stretches of a contour
// curve: the radius kinds, which draw the circle, an arrow from its centre
// towards the value label and the label, and report the radius; and the
// circle kinds, construction geometry that draws only the circle and offers it
// to the intersections. One reference point marks the centre.
//
// The ranges are picked with the shared range protocol. A radius kind then
// follows the cursor with its label until the next left release places it; a
// circle kind finishes at the release that completes its range and announces
// it with measumentFinished. The label stands above the cursor unless the
// arrow would run through it there; then it stands beside the arrow's line
// (RadiusLabelPlacement), as worked out again at every layout of the plot.
class CurvatureMeasurement : public Measurement
{
public:
    ~CurvatureMeasurement() override;

    QString name() const override;
    // The radius with four decimals followed by the unit; "неизвестно" before
    // a range was picked. The circle kinds yield no value and show none.
    QString valueText() const override;
    double value() const override;
    QString groupName() const override;
    void setLabelEnlarged(bool enlarged) override;
    void updateLabel() override;
    void updateSelectionMarker() override;
    void setHighlighted(bool highlighted) override;
    void reloadSettings() override;

    bool isPlacing() const { return m_protocol.isPlacing(); }
    // "мм", "мкм" or "нм", the display unit at the last reload; empty when the
    // setting named no unit so far.
    QString unitText() const { return m_unitText; }
    const QCPItemText* valueLabel() const { return m_label; }
    const QCPItemEllipse* circleItem() const { return m_circle; }
    const QCPItemLine* radiusLine() const { return m_radiusLine; }

protected:
    // code: the creation code, whose row of the kinds table gives the type,
    // the name and whether the kind yields a value.
    CurvatureMeasurement(E_MEASUREMENTS code, PlotWidget* plot, int traceCount, int selectionsNeeded);

    // The circle fitted to the stretches, kept while they stay the same so
    // that a cursor that only moves the label does not fit again; computed
    // afresh once the measurement is finished. None when the fit failed.
    std::optional<MeasurementMath::Circle> keptFit(const QVector<CurveSpan>& stretches,
                                                   const std::function<std::optional<MeasurementMath::Circle>()>& fit);
    // keptFit of selection 0's range once the selections are complete; none
    // before, for an empty range or when the fit failed.
    std::optional<MeasurementMath::Circle>
    firstRangeFit(const std::function<std::optional<MeasurementMath::Circle>(const CurveSpan&)>& fit);
    void forgetFit();

    void setItemsVisible(bool visible);
    void placeCircle(QPointF centre, double radius);
    void showCircle();
    // The radius kinds' drawing: the circle, the arrow from the centre towards
    // the cursor and the value label at the cursor; the reference point at the
    // centre.
    void showResult(QPointF centre, double radius);
    // No radius for the ranges: the drawing is hidden and the value is not
    // computed, for the reason given.
    void showNoResult(const QString& reason = QString());
    // The reason when no finite circle fits the ranges' points.
    static const QString kNoCircleText;
    // The label text, a line break and text, at point.
    void placeLabel(const QString& text, QPointF point, double rotation, int alignment);

    // Reads the display unit; returns whether the unit text changed. A value
    // of the setting that names no unit leaves it as it was.
    bool updateUnitText();

private:
    void createItems();
    // Moves the value label off the arrow, for the plot's current layout.
    void keepLabelOffArrow();
    // The radius line, the circle and the label, as far as they still exist.
    QList<QCPAbstractItem*> items() const;
    void onPlotMouseRelease(QMouseEvent* event);
    void finishConstruction();

    const MeasurementKind& m_kind;
    QPointer<QCPItemLine> m_radiusLine;
    QPointer<QCPItemEllipse> m_circle;
    QPointer<QCPItemText> m_label;
    ReportLabelFont m_reportFont;
    double m_radius = 0;
    // Where the label was put: the cursor of the last result shown.
    std::optional<QPointF> m_labelAnchor;
    QMetaObject::Connection m_relayout;
    QString m_unitText;
    int m_traceCount = 0;
    RangeProtocol m_protocol;
    std::optional<SpanFingerprint> m_fittedFor;
    std::optional<MeasurementMath::Circle> m_fit;
};
