#pragma once

#include <QMap>
#include <QObject>
#include <QPoint>
#include <QPointer>

class PlotWidget;
class QMouseEvent;
class ReperPoint;

// The registry of the live reference points of one plot. It switches their
// pickability as a whole and, on every mouse move, highlights the points of
// finished measurements within four pixels (x and y differences added) of the
// cursor and pulls the system cursor onto them.
class ReperPointController : public QObject
{
    Q_OBJECT
public:
    explicit ReperPointController(PlotWidget* plot);

    void makePointsSelectable();
    void makePointsUnselectable();

    int pointCount() const { return m_points.size(); }
    bool contains(ReperPoint* point) const { return m_points.contains(point); }

public slots:
    void reperPointChanged(ReperPoint* p);
    void reperPointRemoved(ReperPoint* p);
    void mouseMove(QMouseEvent* e);

private:
    // The point's position in whole pixels; false when it has none (a
    // coordinate that is not finite or lies far outside any screen).
    bool pixelOf(const ReperPoint* point, QPoint& pixel) const;
    void moveCursorTo(const QPoint& pixel);
    void redrawMarkers();

    QPointer<PlotWidget> m_plot;
    // Ordered by the point's address. A point deletes itself only after its
    // measurement announced the removal; the guard covers a manager that did not.
    QMap<ReperPoint*, QPointer<ReperPoint>> m_points;
};
