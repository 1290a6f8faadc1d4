#pragma once

#include "CurveDataSummary.h"
#include "CurvePixelIndex.h"
#include "PlotCurve.h"

#include <QRect>

// A curve for long traces. It draws a thinned polyline, bounded by the pixel
// raster and cut at the view's edges to the pixel as the library's curve is
// cut, and answers hit tests from cached pixel positions of its points with
// the same result as QCPCurve's own hit test. The data is never touched.
//
// A plain line is drawn from a summary of the data (CurveDataSummary), built
// at the first drawing after the data changed. Points appended at the end, by
// QCPCurve::addData or data()->add with t beyond the last point, only extend
// it: live recordings append their batches so. Other changes are told by a
// sample of the earlier points and rebuild it; a change in place of single
// points the sample misses goes unnoticed until the data is set anew.
class AdaptiveCurve : public PlotCurve
{
    Q_OBJECT
public:
    AdaptiveCurve(QCPAxis* keyAxis, QCPAxis* valueAxis);

    // The polyline that is drawn for the projected points `lines`.
    QVector<QPointF> thinPoints(const QVector<QPointF>& lines) const;

    double selectTest(const QPointF& pos, bool onlySelectable, QVariant* details = nullptr) const override;

    // The polyline in the plot's pixels that drawing the whole curve now
    // would draw (thinned, cut at the view's edges; NaN points at gaps);
    // empty for a curve drawn without lines. The first call after a drawing
    // costs what a drawing costs; later ones for the same view and data
    // return what it computed.
    QVector<QPointF> viewPolyline();

    bool adaptive = true;

protected:
    void draw(QCPPainter* painter) override;
    void drawCurveLine(QCPPainter* painter, const QVector<QPointF>& lines) const override;

private:
    // Everything the pixel positions and the clipped hit-test lines depend on.
    struct View
    {
        QCPRange keyRange, valueRange;
        bool keyReversed = false, valueReversed = false;
        int keyScale = 0, valueScale = 0;
        int keyOrientation = 0;
        QRect keyRect, valueRect;
        const void* data = nullptr;
        int size = 0;
        quint64 sample = 0;
        int tolerance = 0;
        bool operator==(const View& other) const;
    };

    class ViewEdges;

    void drawSegment(QCPPainter* painter, const QCPDataRange& range, const QPen& pen) const;
    // The thinned polyline of the range for a pen of that width; shifted by
    // half a pixel in thinning, for an antialiased raster.
    QVector<QPointF> thinnedLines(const QCPDataRange& range, double penWidth, bool shifted) const;
    void updateSummary();
    QVector<double> keyEdges(const QRectF& clipRect, double shift) const;
    View currentView() const;
    quint64 sampleOfData(int count) const;
    void refreshPixelIndex() const;
    void rebuildPixelIndex(const View& view) const;
    // The pixel positions of the data points, written over pixels.
    void projectPoints(QVector<QPointF>& pixels) const;
    const CurvePixelIndex& hitTestLines() const;
    bool allPointsInside(const QRectF& rect) const;
    QRectF lineClipRect(double penWidth) const;
    bool drawsPlainLine() const;
    double distanceTo(const QPointF& pos, int& index) const;

    CurveDataSummary m_summary;
    const void* m_summaryOf = nullptr;
    quint64 m_summarySample = 0;

    mutable View m_view;
    mutable bool m_projectionStale = false;
    mutable CurvePixelIndex m_points;
    mutable CurvePixelIndex m_lines;
    mutable bool m_linesValid = false;
    mutable int m_allInside = -1; // -1 not known yet for the current view

    // What the view polyline depends on besides points changed in place
    // unannounced, which only a drawing tells.
    struct PolylineKey
    {
        View view;
        quint64 revision = 0;
        int lineStyle = 0;
        double penWidth = 0;
        bool plain = false;
        bool operator==(const PolylineKey& other) const;
    };

    QVector<QPointF> m_polyline;
    PolylineKey m_polylineKey;
    bool m_polylineCurrent = false;
};
