#include "AdaptiveCurve.h"

#include "CurveClipper.h"
#include "PolylineClipping.h"
#include "PolylineThinner.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The library draws and hit-tests lines with the pen widths below.
double hitTestPenWidth(int selectionTolerance)
{
    return selectionTolerance * 1.2;
}

// How far beyond the axis rect the library cuts the lines of a pen.
double strokeMargin(double penWidth)
{
    return qMax(1.0, penWidth * 0.75);
}

// Distance from pos to the border of rect, 0 when pos lies outside it.
double distanceToBorder(const QPointF& pos, const QRectF& rect)
{
    const double distance =
        std::min({pos.x() - rect.left(), rect.right() - pos.x(), pos.y() - rect.top(), rect.bottom() - pos.y()});
    return qMax(0.0, distance);
}

// An axis's coordinate-to-pixel mapping for a linear scale, computed the way
// QCPAxis::coordToPixel computes it, so that the results are the same to the bit.
struct LinearAxisMapping
{
    explicit LinearAxisMapping(const QCPAxis* axis)
        : horizontal(axis->orientation() == Qt::Horizontal)
        , base(axis->rangeReversed() ? axis->range().upper : axis->range().lower)
        , flip(axis->rangeReversed() ? -1 : 1)
        , size(axis->range().size())
        , origin(horizontal ? axis->axisRect()->left() : axis->axisRect()->bottom())
        , extent(horizontal ? axis->axisRect()->width() : -axis->axisRect()->height())
    {
    }

    // Without branches, so that long loops vectorize: negating a difference
    // or a summand changes no bit of the result.
    double operator()(double coord) const { return origin + flip * (coord - base) / size * extent; }

    bool horizontal;
    double base;
    double flip;
    double size;
    double origin;
    double extent;
};

// The pixel position of a data point, as QCPAbstractPlottable::coordsToPixels gives it.
class PointProjection
{
public:
    PointProjection(const QCPAxis* keyAxis, const QCPAxis* valueAxis)
        : m_keyAxis(keyAxis)
        , m_valueAxis(valueAxis)
        , m_linear(keyAxis->scaleType() == QCPAxis::stLinear && valueAxis->scaleType() == QCPAxis::stLinear)
        , m_key(keyAxis)
        , m_value(valueAxis)
    {
    }

    QPointF operator()(const QCPCurveData& point) const
    {
        const double key = m_linear ? m_key(point.key) : m_keyAxis->coordToPixel(point.key);
        const double value = m_linear ? m_value(point.value) : m_valueAxis->coordToPixel(point.value);
        return m_key.horizontal ? QPointF(key, value) : QPointF(value, key);
    }

private:
    const QCPAxis* m_keyAxis;
    const QCPAxis* m_valueAxis;
    bool m_linear;
    LinearAxisMapping m_key;
    LinearAxisMapping m_value;
};

quint64 mixIn(quint64 hash, double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return (hash ^ bits) * 1099511628211ull;
}

} // namespace

// The view's edges as the library's drawing has them: the axis ranges widened
// by the pen's margin, in coordinates, the regions around them and the points
// where segments cross them, all in the library's own terms, the pixels moved
// by `shift` into the device's pixels.
class AdaptiveCurve::ViewEdges
{
public:
    ViewEdges(const AdaptiveCurve& curve, double penWidth, const QPointF& shift)
        : m_curve(curve)
        , m_pixel(curve.mKeyAxis, curve.mValueAxis)
        , m_shift(shift)
        , m_shown(QRectF(curve.mKeyAxis->axisRect()->rect()).translated(shift))
    {
        const double margin = strokeMargin(penWidth);
        m_keyMin = widened(curve.mKeyAxis, curve.mKeyAxis->range().lower, -margin);
        m_keyMax = widened(curve.mKeyAxis, curve.mKeyAxis->range().upper, margin);
        m_valueMin = widened(curve.mValueAxis, curve.mValueAxis->range().lower, -margin);
        m_valueMax = widened(curve.mValueAxis, curve.mValueAxis->range().upper, margin);
    }

    int region(const QCPCurveData& point) const
    {
        return m_curve.getRegion(point.key, point.value, m_keyMin, m_valueMax, m_keyMax, m_valueMin);
    }

    QPointF pixel(const QCPCurveData& point) const { return m_pixel(point) + m_shift; }

    // Whether a pixel position lies in one of the axis rect's pixels.
    bool isShown(const QPointF& pixel) const
    {
        return pixel.x() >= m_shown.left() && pixel.x() < m_shown.right() && pixel.y() >= m_shown.top()
            && pixel.y() < m_shown.bottom();
    }

    QPointF crossing(int outsideRegion, const QCPCurveData& outside, const QCPCurveData& inside) const
    {
        return m_curve.getOptimizedPoint(outsideRegion, outside.key, outside.value, inside.key, inside.value,
                                         m_keyMin, m_valueMax, m_keyMax, m_valueMin)
            + m_shift;
    }

    QVector<QPointF> cornerPoints(int regionA, int regionB, const QCPCurveData& a, const QCPCurveData& b) const
    {
        return shifted(m_curve.getOptimizedCornerPoints(regionA, regionB, a.key, a.value, b.key, b.value, m_keyMin,
                                                        m_valueMax, m_keyMax, m_valueMin));
    }

    // Whether the segment a-b, both outside, crosses the view; where, and the
    // corner points the line takes before and after.
    bool traverse(int regionA, const QCPCurveData& a, int regionB, const QCPCurveData& b, QPointF& crossA,
                  QPointF& crossB, QVector<QPointF>& before, QVector<QPointF>& after) const
    {
        if (!m_curve.mayTraverse(regionA, regionB)
            || !m_curve.getTraverse(a.key, a.value, b.key, b.value, m_keyMin, m_valueMax, m_keyMax, m_valueMin,
                                    crossA, crossB))
            return false;
        m_curve.getTraverseCornerPoints(regionA, regionB, m_keyMin, m_valueMax, m_keyMax, m_valueMin, before, after);
        crossA += m_shift;
        crossB += m_shift;
        before = shifted(before);
        after = shifted(after);
        return true;
    }

private:
    QVector<QPointF> shifted(QVector<QPointF> points) const
    {
        for (QPointF& point : points)
            point += m_shift;
        return points;
    }

    // The coordinate `margin` pixels beyond `coord`, away from the range.
    static double widened(const QCPAxis* axis, double coord, double margin)
    {
        return axis->pixelToCoord(axis->coordToPixel(coord) + margin * axis->pixelOrientation());
    }

    const AdaptiveCurve& m_curve;
    PointProjection m_pixel;
    QPointF m_shift;
    QRectF m_shown;
    double m_keyMin = 0, m_keyMax = 0, m_valueMin = 0, m_valueMax = 0;
};

AdaptiveCurve::AdaptiveCurve(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : PlotCurve(keyAxis, valueAxis)
{
}

QVector<QPointF> AdaptiveCurve::thinPoints(const QVector<QPointF>& lines) const
{
    if (!adaptive || lines.size() <= 2)
        return lines;
    return PolylineThinner::thin(lines);
}

// A plain line is drawn from a summary of the data: of the stretches whose
// keys rise only the part in view is visited, reduced to a few points per
// pixel column; other stretches are projected point by point. The polyline is
// cut at the view's edges as the library cuts its own and thinned. Fills and
// scatters take the library's way.
void AdaptiveCurve::draw(QCPPainter* painter)
{
    // The data may have changed in place where the fingerprint does not look,
    // so the next hit test projects the points afresh, and the next view
    // polyline is thinned afresh; those between two drawings use what the
    // first of them computed.
    m_projectionStale = true;
    m_polylineCurrent = false;
    if (!drawsPlainLine()) {
        QCPCurve::draw(painter);
        return;
    }
    if (mDataContainer->isEmpty())
        return;
    updateSummary();
    QList<QCPDataRange> selectedSegments, unselectedSegments;
    getDataSegments(selectedSegments, unselectedSegments);
    const QCPDataRange all(0, dataCount());
    // Unselected stretches reach to the bordering selected points.
    for (const QCPDataRange& range : unselectedSegments)
        drawSegment(painter, range.adjusted(-1, 1).bounded(all), mPen);
    for (const QCPDataRange& range : selectedSegments)
        drawSegment(painter, range, mSelectionDecorator ? mSelectionDecorator->pen() : mPen);
    if (mSelectionDecorator)
        mSelectionDecorator->drawDecoration(painter, selection());
}

void AdaptiveCurve::drawSegment(QCPPainter* painter, const QCPDataRange& range, const QPen& pen) const
{
    if (range.isEmpty())
        return;
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    // Antialiased painting on a raster shifts everything by half a pixel
    // (QCPPainter::setAntialiasing); the thinner works in the device's pixels.
    applyDefaultAntialiasingHint(painter);
    const bool shifted = painter->antialiasing() && !painter->modes().testFlag(QCPPainter::pmVectorized);
    QCPCurve::drawCurveLine(painter, thinnedLines(range, pen.widthF(), shifted));
}

QVector<QPointF> AdaptiveCurve::thinnedLines(const QCPDataRange& range, double penWidth, bool shifted) const
{
    const QPointF shift = shifted ? QPointF(0.5, 0.5) : QPointF();
    const QCPCurveData* data = mDataContainer->constBegin();
    const ViewEdges edges(*this, penWidth, shift);
    PolylineThinner thinner;
    thinner.setExtremesInColumnMiddle(shifted);
    CurveClipper<ViewEdges, PolylineThinner> clipper(edges, thinner);
    clipper.start(data[range.end() - 1]);
    for (const CurveDataSummary::Span& span : m_summary.visibleSpans(
             data, range.begin(), range.end(), keyEdges(lineClipRect(penWidth), shifted ? 0.5 : 0.0))) {
        for (int i = span.from; i < span.to; ++i)
            clipper.add(data[i]);
    }
    clipper.finish();
    QVector<QPointF> lines = thinner.take();
    if (shifted) {
        for (QPointF& point : lines)
            point -= shift;
    }
    return lines;
}

QVector<QPointF> AdaptiveCurve::viewPolyline()
{
    if (mDataContainer->isEmpty() || !mKeyAxis || !mValueAxis)
        return {};
    const PolylineKey key{currentView(), dataRevision(), mLineStyle, mPen.widthF(), drawsPlainLine()};
    if (m_polylineCurrent && key == m_polylineKey)
        return m_polyline;
    const QCPDataRange all(0, dataCount());
    m_polyline.clear();
    if (!key.plain) {
        if (mLineStyle != lsNone)
            getCurveLines(&m_polyline, all, key.penWidth);
    } else {
        updateSummary();
        m_polyline = thinnedLines(all, key.penWidth, false);
    }
    m_polylineKey = key;
    m_polylineCurrent = true;
    return m_polyline;
}

// The summary follows the data: points appended at the end, behind points
// whose sample is unchanged, are summarized on their own; anything else
// rebuilds it.
void AdaptiveCurve::updateSummary()
{
    const QCPCurveData* data = mDataContainer->constBegin();
    const int count = mDataContainer->size();
    const int known = m_summary.size();
    const bool appended =
        mDataContainer.data() == m_summaryOf && count >= known && sampleOfData(known) == m_summarySample;
    if (!appended)
        m_summary.build(data, count);
    else if (count > known)
        m_summary.append(data, count);
    m_summaryOf = mDataContainer.data();
    m_summarySample = sampleOfData(count);
}

// Keys at the borders of the clip rectangle and at every border of the
// device's pixels between (which lie `shift` off whole pixels), in rising
// order; none on a key axis that is not linear, which leaves the summary to
// draw every point.
QVector<double> AdaptiveCurve::keyEdges(const QRectF& clipRect, double shift) const
{
    QVector<double> edges;
    if (mKeyAxis->scaleType() != QCPAxis::stLinear)
        return edges;
    const bool horizontal = mKeyAxis->orientation() == Qt::Horizontal;
    const double low = horizontal ? clipRect.left() : clipRect.top();
    const double high = horizontal ? clipRect.right() : clipRect.bottom();
    edges.reserve(int(high - low) + 3);
    edges.append(mKeyAxis->pixelToCoord(low));
    for (double pixel = std::floor(low + shift) + 1 - shift; pixel < high; ++pixel)
        edges.append(mKeyAxis->pixelToCoord(pixel));
    edges.append(mKeyAxis->pixelToCoord(high));
    if (edges.first() > edges.last())
        std::reverse(edges.begin(), edges.end());
    return edges;
}

// Without both axes the library's drawing reports the curve and skips it.
bool AdaptiveCurve::drawsPlainLine() const
{
    if (!mKeyAxis || !mValueAxis)
        return false;
    const bool filled = mBrush.style() != Qt::NoBrush && mBrush.color().alpha() != 0;
    return adaptive && mLineStyle == lsLine && mScatterStyle.isNone() && !filled;
}

void AdaptiveCurve::drawCurveLine(QCPPainter* painter, const QVector<QPointF>& lines) const
{
    QCPCurve::drawCurveLine(painter, thinPoints(lines));
}

double AdaptiveCurve::selectTest(const QPointF& pos, bool onlySelectable, QVariant* details) const
{
    if ((onlySelectable && mSelectable == QCP::stNone) || mDataContainer->isEmpty())
        return -1;
    if (!mKeyAxis || !mValueAxis)
        return -1;
    if (!mKeyAxis->axisRect()->rect().contains(pos.toPoint())
        && !mParentPlot->interactions().testFlag(QCP::iSelectPlottablesBeyondAxisRect))
        return -1;
    int index = 0;
    const double result = distanceTo(pos, index);
    if (details)
        details->setValue(QCPDataSelection(QCPDataRange(index, index + 1)));
    return result;
}

double AdaptiveCurve::distanceTo(const QPointF& pos, int& index) const
{
    // Like the library, a search without a nearest point reports the index past the end.
    index = dataCount();
    if (mLineStyle == lsNone && mScatterStyle.isNone())
        return -1;
    refreshPixelIndex();
    if (dataCount() == 1) {
        index = 0;
        return QCPVector2D(m_points.points().constFirst() - pos).length();
    }
    const CurvePixelIndex::NearestPoint nearest = m_points.nearestPoint(pos);
    if (nearest.index >= 0)
        index = nearest.index;
    double best = nearest.distanceSquared;
    if (mLineStyle == lsNone)
        return qSqrt(best);

    // The library measures against its clipped drawing lines. Segments inside the
    // clip rectangle are the same as between the cached points; anything the
    // clipping adds lies on or beyond the rectangle's border. So the cached
    // points answer whenever the best distance stays inside the border.
    // Half a pixel less, so that a point inside is inside for the library's
    // coordinate-space test as well.
    const QRectF inside = lineClipRect(hitTestPenWidth(mParentPlot->selectionTolerance())).adjusted(0.5, 0.5, -0.5, -0.5);
    const CurvePixelIndex::NearestSegments segments = m_points.nearestSegments(pos, best, inside);
    const double candidate = qMin(best, segments.inside);
    const double border = distanceToBorder(pos, inside);
    const double margin = 1e-6 + 1e-9 * candidate;
    if (segments.crossing > candidate + margin
        && (candidate + margin < border * border || allPointsInside(inside)))
        return qSqrt(candidate);

    const QRectF everywhere(QPointF(-qInf(), -qInf()), QPointF(qInf(), qInf()));
    const CurvePixelIndex::NearestSegments exact = hitTestLines().nearestSegments(pos, best, everywhere);
    return qSqrt(std::min({best, exact.inside, exact.crossing}));
}

// The axis ranges in pixels, widened by the stroke margin the library uses.
QRectF AdaptiveCurve::lineClipRect(double penWidth) const
{
    const double margin = strokeMargin(penWidth);
    const double key1 = mKeyAxis->coordToPixel(mKeyAxis->range().lower);
    const double key2 = mKeyAxis->coordToPixel(mKeyAxis->range().upper);
    const double value1 = mValueAxis->coordToPixel(mValueAxis->range().lower);
    const double value2 = mValueAxis->coordToPixel(mValueAxis->range().upper);
    const QPointF keySpan(qMin(key1, key2) - margin, qMax(key1, key2) + margin);
    const QPointF valueSpan(qMin(value1, value2) - margin, qMax(value1, value2) + margin);
    const bool keyHorizontal = mKeyAxis->orientation() == Qt::Horizontal;
    const QPointF xSpan = keyHorizontal ? keySpan : valueSpan;
    const QPointF ySpan = keyHorizontal ? valueSpan : keySpan;
    return QRectF(QPointF(xSpan.x(), ySpan.x()), QPointF(xSpan.y(), ySpan.y()));
}

// With every point inside the clip rectangle the library's lines are exactly
// the polyline of the points.
bool AdaptiveCurve::allPointsInside(const QRectF& rect) const
{
    if (m_allInside < 0) {
        const QVector<QPointF>& points = m_points.points();
        m_allInside = std::all_of(points.begin(), points.end(), [&](const QPointF& p) {
            return PolylineClipping::isGap(p) || PolylineClipping::isInside(rect, p);
        });
    }
    return m_allInside == 1;
}

const CurvePixelIndex& AdaptiveCurve::hitTestLines() const
{
    if (!m_linesValid) {
        // The library empties the buffer it is given and keeps its room, so
        // the previous lines' buffer serves again; a fresh one of a long
        // trace's size costs more than filling it (every page a fault).
        QVector<QPointF> lines = m_lines.takePoints();
        if (lines.capacity() > 2 * dataCount())
            lines = QVector<QPointF>();
        lines.reserve(dataCount());
        getCurveLines(&lines, QCPDataRange(0, dataCount()), hitTestPenWidth(mParentPlot->selectionTolerance()));
        m_lines.build(std::move(lines));
        m_linesValid = true;
    }
    return m_lines;
}

void AdaptiveCurve::refreshPixelIndex() const
{
    const View view = currentView();
    if (view == m_view && !m_points.isEmpty() && !m_projectionStale)
        return;
    rebuildPixelIndex(view);
}

void AdaptiveCurve::rebuildPixelIndex(const View& view) const
{
    // The buffer of the previous positions takes the new ones: a fresh one of
    // a long trace's size costs a good part of what filling it costs.
    QVector<QPointF> pixels = m_points.takePoints();
    projectPoints(pixels);
    m_points.build(std::move(pixels));
    m_lines.clear();
    m_linesValid = false;
    m_allInside = -1;
    m_view = view;
    m_projectionStale = false;
}

void AdaptiveCurve::projectPoints(QVector<QPointF>& pixels) const
{
    // A buffer far larger than the data goes, so that a curve does not hold
    // on to the memory of a long trace it showed before.
    if (pixels.capacity() > 2 * dataCount())
        pixels = QVector<QPointF>();
    pixels.resize(dataCount());
    const auto begin = mDataContainer->constBegin();
    const auto end = mDataContainer->constEnd();
    if (mKeyAxis->scaleType() != QCPAxis::stLinear || mValueAxis->scaleType() != QCPAxis::stLinear) {
        std::transform(begin, end, pixels.begin(), PointProjection(mKeyAxis, mValueAxis));
        return;
    }
    // One loop per orientation, free of branches.
    const LinearAxisMapping key(mKeyAxis);
    const LinearAxisMapping value(mValueAxis);
    if (key.horizontal)
        std::transform(begin, end, pixels.begin(), [&](const QCPCurveData& p) { return QPointF(key(p.key), value(p.value)); });
    else
        std::transform(begin, end, pixels.begin(), [&](const QCPCurveData& p) { return QPointF(value(p.value), key(p.key)); });
}

AdaptiveCurve::View AdaptiveCurve::currentView() const
{
    View view;
    view.keyRange = mKeyAxis->range();
    view.valueRange = mValueAxis->range();
    view.keyReversed = mKeyAxis->rangeReversed();
    view.valueReversed = mValueAxis->rangeReversed();
    view.keyScale = mKeyAxis->scaleType();
    view.valueScale = mValueAxis->scaleType();
    view.keyOrientation = mKeyAxis->orientation();
    view.keyRect = mKeyAxis->axisRect()->rect();
    view.valueRect = mValueAxis->axisRect()->rect();
    view.data = mDataContainer.data();
    view.size = mDataContainer->size();
    view.sample = sampleOfData(view.size);
    view.tolerance = mParentPlot->selectionTolerance();
    return view;
}

// A fingerprint of a few points spread over the first count points, so that
// data changed in place (a rotation, say) does not leave stale pixel positions
// or a stale summary behind.
quint64 AdaptiveCurve::sampleOfData(int count) const
{
    const QCPCurveData* data = mDataContainer->constBegin();
    const int step = qMax(1, count / 64);
    quint64 hash = 14695981039346656037ull;
    for (int i = 0; i < count; i += step)
        hash = mixIn(mixIn(hash, data[i].key), data[i].value);
    if (count > 0)
        hash = mixIn(mixIn(hash, data[count - 1].key), data[count - 1].value);
    return hash;
}

bool AdaptiveCurve::View::operator==(const View& other) const
{
    return keyRange == other.keyRange && valueRange == other.valueRange && keyReversed == other.keyReversed
        && valueReversed == other.valueReversed && keyScale == other.keyScale && valueScale == other.valueScale
        && keyOrientation == other.keyOrientation && keyRect == other.keyRect && valueRect == other.valueRect
        && data == other.data && size == other.size && sample == other.sample && tolerance == other.tolerance;
}

bool AdaptiveCurve::PolylineKey::operator==(const PolylineKey& other) const
{
    return view == other.view && revision == other.revision && lineStyle == other.lineStyle
        && penWidth == other.penWidth && plain == other.plain;
}
