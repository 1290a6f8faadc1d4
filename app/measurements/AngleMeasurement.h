#pragma once

#include "Measurement.h"
#include "RangeLineFit.h"
#include "RangeProtocol.h"
#include "ReportLabelFont.h"
#include "math/AngleGeometry.h"

#include <QPointF>
#include <QString>

class QCPItemArc;
class QCPItemLine;
class QCPItemText;

// The angle between straight stretches of a contour: each picked range is
// replaced by its least-squares line, and the angle is drawn at the vertex as
// two construction lines, an arc and a label following the cursor. The side
// of the vertex the cursor is on chooses which of the two supplementary
// angles is measured; the next left click places it. The vertex is the
// measurement's reference point.
class AngleMeasurement : public Measurement
{
public:
    ~AngleMeasurement() override;

    QString name() const override;
    // Decimal degrees or degrees, minutes and seconds, as "view/angles_in_deg"
    // says.
    QString valueText() const override;
    // The angle in degrees, 0 to 180; 0 before any range was picked.
    double value() const override;
    QString groupName() const override;
    void setLabelEnlarged(bool enlarged) override;
    void updateLabel() override;
    void updateSelectionMarker() override;
    void setHighlighted(bool highlighted) override;
    void reloadSettings() override;
    // The nearest of 45, 90, 135 and 180 degrees.
    double nominalValue() const override;

protected:
    AngleMeasurement(E_MEASUREMENTS kind, PlotWidget* plot, int traceCount, int selectionsNeeded);

    // The line of range i: fitted again only when the range changed while
    // the measurement is open, and at every recalculation once it is finished.
    MeasurementMath::SlopedLine rangeLine(int i);

    // The angle for the current cursor at the vertex p between the two unit
    // directions.
    void placeAngle(const QPointF& p, MeasurementMath::FloatVector first, MeasurementMath::FloatVector second);

    // The one-range kinds: the angle between the range's line and the given
    // axis, at the line's point above the last picked data point.
    void placeAngleToAxis(MeasurementMath::FloatVector axis);

    // No angle for the ranges: the drawing is hidden and the value is not
    // computed, for the reason given.
    void showNoAngle(const QString& reason = QString());
    // The reason when a range's line cannot be fitted (fewer than two distinct
    // keys).
    static const QString kNoLineText;

private:
    void createItems();
    void setItemsVisible(bool visible);
    void setArc(const QPointF& topLeft, const QPointF& bottomRight, int startAngle, int spanAngle);
    void setLabel(const QString& text, const QPointF& position, double rotation, Qt::Alignment alignment);
    void onPlotMouseRelease(QMouseEvent* event);
    static bool readAnglesInDegrees();

    QCPItemLine* m_firstLine = nullptr;
    QCPItemLine* m_secondLine = nullptr;
    QCPItemArc* m_arc = nullptr;
    QCPItemText* m_label = nullptr;
    ReportLabelFont m_reportFont;
    double m_angle = 0;
    bool m_anglesInDegrees = false;
    QString m_name;
    QString m_groupName;
    RangeProtocol m_protocol;
    RangeLineFit m_rangeFits[2];
};
