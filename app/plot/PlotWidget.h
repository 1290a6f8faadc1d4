#pragma once

#include "PickPointIndex.h"
#include "PlotFlags.h"
#include "PlotSelectionRect.h"

#include <QPointer>
#include <QSet>
#include <QVector>

// The program's plot widget. On top of QCustomPlot it keeps a registry of its
// curves, shows a selection marker that snaps to the nearest curve point
// while QCP::iRangeSelection is on, selects curve ranges with the selection
// rectangle (live in QCP::srmSelectRealtime) and carries the buffered layer
// "overlay2" above "overlay" for the marker.
//
// Some of the members below hide non-virtual library members of the same
// name, so every plot pointer in the program is a PlotWidget pointer. Curves
// leave the registry by any of the library's removals (removePlottable,
// clearPlottables), since the registry only lists curves that still exist.
// The registry's accessors cost constant time.
//
// Curves whose points are in the pick point index (the reference points of
// measurements, on xAxis and yAxis) are hit through the index: the snap finds
// the nearest pickable point by reading only the points near the cursor, and
// each point is hit as a curve of its own would be, by its distance in
// pixels, however far.
class PlotWidget : public QCustomPlot
{
    Q_OBJECT
public:
    explicit PlotWidget(QWidget* parent = nullptr);
    ~PlotWidget() override;

    // Curve registry, in creation order.
    bool registerCurve(QCPCurve* curve);
    QCPCurve* curve(int index) const;
    QCPCurve* lastCurve() const;
    int curveCount() const;

    PickPointIndex& pickPoints() { return m_pickPoints; }
    const PickPointIndex& pickPoints() const { return m_pickPoints; }

    void setInteractions(const QCP::Interactions& interactions);
    void setInteraction(const QCP::Interactions& interaction, bool enabled = true);

    void setSelectionRectMode(QCP::SelectionRectMode mode);
    void setSelectionRect(PlotSelectionRect* selectionRect);
    PlotSelectionRect* selectionRect() const;

    // Shows or hides the marker without a replot; null when there is no marker.
    QCPItemLine* setSelectionMarkerVisible(bool visible);
    bool hasSelectionMarker() const { return !m_selectionMarker.isNull(); }

    // The point of the last snap: its data index and its curve (null when the
    // curve is gone). Meaningful once the marker has snapped.
    qint64 selectionMarkerIndex() const { return m_selectionMarkerIndex; }
    QCPCurve* selectionMarkerCurve() const { return m_selectionMarkerCurve; }

    // Brings the live range selection up to a mouse release that ends a drag.
    // The library emits mouseRelease before it ends the drag, so handlers of
    // the release would otherwise see the range as the last move left it; the
    // end of the drag then finds the range already in place. A release that
    // the library takes for a click changes nothing.
    void takeInRelease(QMouseEvent* event);

    // Lays the plot out at its viewport, as a replot does before it draws;
    // the axis rects then have the sizes the next drawing gives them.
    void updateLayout() override;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void processRectSelection(QRect rect, QMouseEvent* event) override;

private slots:
    void onSelectionRectAccepted(const QRect& rect, QMouseEvent* event);
    void onSelectionRectChanged(const QRect& rect, QMouseEvent* event);

private:
    struct CurveHit
    {
        QCPCurve* curve = nullptr;
        int index = -1;
    };

    struct PickHit
    {
        int index = -1;
        double distance = 0;
    };

    using Candidate = QPair<QCPAbstractPlottable*, QCPDataSelection>;
    using Candidates = QMultiMap<int, Candidate>;

    bool hasInteraction(const QCP::Interactions& flag) const;
    void applySelectionMarkerRule();
    void createSelectionMarker();
    void deleteSelectionMarker();
    void snapSelectionMarker(const QPoint& pos);

    // Drops the entries of curves deleted since the last call.
    void dropVanishedCurves() const;
    CurveHit nearestCurve(const QPointF& pos) const;
    // For each curve of the pick point index, its first pickable point whose
    // distance to pos, cut to whole pixels, is the least of all pickable
    // points; curves without such a point are left out.
    QHash<const QCPCurve*, PickHit> nearestPickPoints(const QPointF& pos) const;
    // The index of the curve's point nearest to pos, -1 when the curve is not
    // hit or names no point of its data (a curve whose points are all NaN
    // reports an index past its data); distance receives the hit test's result.
    static int nearestIndex(const QCPCurve* curve, const QPointF& pos, double* distance = nullptr);

    void chooseStartCurve(PlotSelectionRect* rect, const QRect& selection) const;
    bool addRangeCandidate(PlotSelectionRect* rect, const QMouseEvent* event, Candidates& candidates) const;
    void addRectCandidates(QCPAxisRect* axisRect, const QRectF& selection, Candidates& candidates) const;
    bool deselectAllBut(const QCPLayerable* keep);
    bool selectCandidates(const Candidates& candidates, QMouseEvent* event);

    mutable QVector<QPointer<QCPCurve>> m_curves;
    QSet<const QObject*> m_registered;
    mutable int m_vanishedCurves = 0;
    PickPointIndex m_pickPoints;
    QPointer<QCPItemLine> m_selectionMarker;
    qint64 m_selectionMarkerIndex = 0;
    QPointer<QCPCurve> m_selectionMarkerCurve;
};
