#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>

class Measurement;
class PickCurve;
class PlotWidget;
class QCPItemTracer;
class QCPLayer;

// A marked point a measurement leaves on the plot: a visible marker (a red
// plus with a dashed magenta pen) and an invisible one-point curve that the
// plot's snap and range selection can pick like a trace point. Created
// hidden; the owning measurement places, shows and deletes it. Deleting it
// takes the marker and the curve off the plot (and so out of the curve
// registry).
//
// The marker is on the measurement's own layer while the measurement is being
// placed and on "overlay" once it is finished (MeasurementLayers). The
// highlight (a green circle) is drawn over the marker by the
// ReperPointController, so that lighting a point up does not redraw every
// marker of a drawing.
class ReperPoint : public QObject
{
    Q_OBJECT
public:
    ReperPoint(PlotWidget* plot, Measurement* owner);
    ~ReperPoint() override;

    QPointF position() const { return m_position; }
    // Moves the marker and makes p the pick curve's one data point.
    void setPosition(const QPointF& p);

    // Returns whether the point was highlighted before.
    bool setHighlighted(bool on);
    bool isHighlighted() const { return m_highlighted; }

    void setMarkerVisible(bool visible);
    void setMarkerLayer(QCPLayer* layer);

    Measurement* measurement() const { return m_measurement; }

    // The pick curve becomes selectable as a whole, or not selectable.
    void setSelectable();
    void setUnselectable();

    QCPItemTracer* marker() const;
    PickCurve* pickCurve() const;

private:
    QPointer<QCPItemTracer> m_marker;
    Measurement* m_measurement;
    QPointer<PlotWidget> m_plot;
    QPointer<PickCurve> m_pickCurve;
    QPointF m_position;
    bool m_highlighted = false;
};
