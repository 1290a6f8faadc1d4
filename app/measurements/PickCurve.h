#pragma once

#include "plot/PlotCurve.h"

#include <QImage>
#include <QPointer>
#include <QVector>

class PlotWidget;
class ReperPoint;

// The reference points of one measurement as the data of one curve: point i
// is data point i (NaN while unplaced), so that a snap on a reference point
// names this curve and the point's index and reads the point where it is
// now. The placed points are in the plot's pick point index, through which the
// plot's snap and the reference point controller find them; each point is
// pickable on its own. The curve draws the markers of its visible points (a
// plus with a dashed magenta pen), and nothing else: a drawing's thousands of
// points are then one plottable. On screen the markers of many points are
// kept as an image, drawn again only when a point, the axes or the size
// changed, so that redrawing the curve's layer while the cursor moves costs
// one copy.
class PickCurve : public PlotCurve
{
    Q_OBJECT
public:
    explicit PickCurve(PlotWidget* plot);
    ~PickCurve() override;

    int pointCount() const { return m_points.size(); }
    // Appends an unplaced, hidden, unpickable point; returns its index.
    int addPoint(ReperPoint* owner);
    // Takes the point out of the index and hides it; the last points go once
    // none after them is left.
    void removePoint(int i);
    ReperPoint* reperPoint(int i) const;

    void setPosition(int i, const QPointF& p);
    void setMarkerVisible(int i, bool visible);
    bool isMarkerVisible(int i) const;
    void setPointSelectable(int i, bool selectable);
    bool isPointSelectable(int i) const;

    // The distance in pixels to the nearest placed point (pickable, with
    // onlySelectable); the details name that point alone.
    double selectTest(const QPointF& pos, bool onlySelectable, QVariant* details = nullptr) const override;
    // The placed points (pickable, with onlySelectable) whose pixels lie in
    // the rectangle.
    QCPDataSelection selectTestRect(const QRectF& rect, bool onlySelectable) const override;

protected:
    void draw(QCPPainter* painter) override;
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override;

private:
    struct Point
    {
        ReperPoint* owner = nullptr;
        // In the plot's pick point index; -1 while unplaced.
        int id = -1;
        bool markerVisible = false;
        bool selectable = false;
    };

    // What the markers were last drawn for.
    struct Looks
    {
        QCPRange keyRange;
        QCPRange valueRange;
        // Scale types and reversal of the key and the value axis.
        int axisScales = 0;
        QRect clip;
        qreal pixelRatio = 0;
        bool antialiased = false;
        quint64 revision = 0;

        bool operator==(const Looks& other) const;
    };

    void setDataPoint(int i, const QPointF& p);
    void updateCurveSelectable();
    // wholePixels: lines between whole pixels, as the library's painter draws
    // them without antialiasing on a raster.
    void drawMarkers(QPainter* painter, const QPointF& offset, bool wholePixels) const;

    quint64 m_revision = 0;
    QImage m_markers;
    Looks m_markersLooks;
    QPointer<PlotWidget> m_plot;
    QVector<Point> m_points;
    int m_selectableCount = 0;
};
