#pragma once

#include "CurveAccess.h"
#include "DimensionItems.h"
#include "Measurement.h"
#include "RangeProtocol.h"

#include <optional>

// The lengths of the contour plot, drawn as a dimension: between two trace
// points picked with the plot's snap (straight, horizontal and vertical
// distances), or between the lines fitted to two ranges (mean height).
//
// Picking: the setting "preferenses/alternative_measurement" chooses between
// clicking both points (the first release takes point 1, the second point 2)
// and a press-drag-release from point 1 (the snap at creation) to point 2;
// ranges are picked one drag each either way. Then the selection locks, the
// dimension follows the cursor, and the next left release places it.
class DistanceMeasurement : public Measurement
{
    Q_OBJECT
public:
    ~DistanceMeasurement() override;

    QString name() const override { return m_name; }
    // The value with four decimals, directly followed by the unit; the mark of
    // a value not computed before the first calculation.
    QString valueText() const override;
    double value() const override { return computedValue(m_value); }
    QString groupName() const override;
    void setLabelEnlarged(bool enlarged) override;
    void updateLabel() override;
    void updateSelectionMarker() override;
    void setHighlighted(bool highlighted) override;
    // The unit text follows "view/axis_unit".
    void reloadSettings() override;

    // Where a pick takes its point: the plot's last snap for the point kinds.
    virtual PointRef snappedPoint() const;

protected:
    enum class PointMode { Points = 1, Ranges = 2 };

    DistanceMeasurement(E_MEASUREMENTS code, PlotWidget* plot, PointMode mode);

    // The measured points: the left one has the smaller key (point 1 on equal
    // keys). A point not picked yet, or gone from its curve, reads (0, 0).
    QPointF leftPoint() const;
    QPointF rightPoint() const;

    // Writes "<kind> started in (x,y)" with the left point to the log.
    void logStart(const QString& kind) const;

    bool isPlacing() const { return m_protocol.isPlacing(); }
    DimensionItems& items() { return m_items; }
    void setValue(double value);
    void setAlignment(int alignment) { m_alignment = alignment; }
    // The dimension and its label drawn, the value and the label alignment
    // taken from it, and the value shown on the status line.
    void showDimension(const MeasurementMath::Dimension& dimension);
    void reportValue();

private:
    void followSnap();
    void onMouseRelease(QMouseEvent* event);
    bool completesPicking() const;
    const PointRef* leftRef() const;
    const PointRef* rightRef() const;
    QString finishLine() const;

    int m_alignment = 0;
    QString m_unitText;
    int m_completedRanges = 0;
    std::optional<PointRef> m_point1;
    std::optional<PointRef> m_point2;
    DimensionItems m_items;
    double m_value = 0;
    unsigned m_clicks = 0;
    PointMode m_mode;
    QString m_name;
    RangeProtocol m_protocol;
};
