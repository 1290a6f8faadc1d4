#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>

class Measurement;
class PickCurve;
class QCPLayer;

// A marked point a measurement leaves on the plot: a visible marker (a red
// plus with a dashed magenta pen) and a point the plot's snap and range
// selection can pick like a trace point. Both are point `index` of the
// measurement's pick curve (PickCurve), which draws the markers of all its
// points. Created hidden; the owning measurement places, shows and deletes
// it. Deleting it takes its marker and its pick point off the plot.
//
// The markers are on the measurement's own layer while the measurement is
// being placed and on "overlay" once it is finished (MeasurementLayers). The
// highlight (a green circle) is drawn over the marker by the
// ReperPointController, so that lighting a point up does not redraw every
// marker of a drawing.
class ReperPoint : public QObject
{
    Q_OBJECT
public:
    // Appends the point to the curve; without a curve (no plot) it only keeps
    // its position.
    ReperPoint(PickCurve* curve, Measurement* owner);
    ~ReperPoint() override;

    QPointF position() const { return m_position; }
    // Moves the marker and the pick point to p.
    void setPosition(const QPointF& p);

    // Returns whether the point was highlighted before.
    bool setHighlighted(bool on);
    bool isHighlighted() const { return m_highlighted; }

    void setMarkerVisible(bool visible);
    bool isMarkerVisible() const;
    QCPLayer* markerLayer() const;

    Measurement* measurement() const { return m_measurement; }

    // The pick point becomes pickable, or not.
    void setSelectable();
    void setUnselectable();
    bool isSelectable() const;

    PickCurve* pickCurve() const;
    // The point's data index in its pick curve.
    int pickIndex() const { return m_index; }

private:
    Measurement* m_measurement;
    QPointer<PickCurve> m_curve;
    int m_index = -1;
    QPointF m_position;
    bool m_highlighted = false;
};
