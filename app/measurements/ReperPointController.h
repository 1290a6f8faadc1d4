#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QSet>
#include <QVector>

class PlotWidget;
class QCPAxis;
class QCPItemTracer;
class QMouseEvent;
class ReperPoint;

// The registry of the live reference points of one plot. It switches their
// pickability as a whole and, on every mouse move, highlights the points of
// finished measurements within four pixels (x and y differences added) of the
// cursor and pulls the system cursor onto them. It finds them through the
// plot's pick point index, so a move reads only the points near the cursor. The highlight, a green circle
// over the point's marker, is drawn on the measurement layer (see
// MeasurementLayers), so only that layer is redrawn when it changes.
class ReperPointController : public QObject
{
    Q_OBJECT
public:
    explicit ReperPointController(PlotWidget* plot);
    ~ReperPointController() override;

    void makePointsSelectable();
    void makePointsUnselectable();

    int pointCount() const { return m_points.size(); }
    bool contains(ReperPoint* point) const;

public slots:
    void reperPointChanged(ReperPoint* p);
    void reperPointRemoved(ReperPoint* p);
    void mouseMove(QMouseEvent* e);

private:
    struct Reached
    {
        ReperPoint* point;
        QPoint pixel;
    };

    // The position in whole pixels; false when there is none (a coordinate
    // that is not finite or lies far outside any screen).
    static bool pixelOf(const QCPAxis* xAxis, const QCPAxis* yAxis, const QPointF& position, QPoint& pixel);
    // The registered points of finished measurements within reach of the
    // mouse, ordered by their addresses.
    QVector<Reached> pointsInReach(const QPoint& mouse) const;
    void forget(ReperPoint* point);
    void moveCursorTo(const QPoint& pixel);
    QCPItemTracer* createHighlight();
    // One green circle over each highlighted point, then the layer redrawn.
    void showHighlights();

    QPointer<PlotWidget> m_plot;
    // A point deleted without being announced leaves it through its destroyed
    // signal.
    QSet<ReperPoint*> m_points;
    // The points the controller lit up, ordered by their addresses.
    QVector<ReperPoint*> m_highlighted;
    QVector<QPointer<QCPItemTracer>> m_highlights;
};
