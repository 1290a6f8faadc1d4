#include "AdaptiveCurve.h"

#include "PolylineClipping.h"
#include "PolylineThinner.h"

#include <algorithm>
#include <cstring>

namespace {

// The library draws and hit-tests lines with the pen widths below.
double hitTestPenWidth(int selectionTolerance)
{
    return selectionTolerance * 1.2;
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
        : range(axis->range())
        , reversed(axis->rangeReversed())
        , horizontal(axis->orientation() == Qt::Horizontal)
        , origin(horizontal ? axis->axisRect()->left() : axis->axisRect()->bottom())
        , extent(horizontal ? axis->axisRect()->width() : axis->axisRect()->height())
    {
    }

    double operator()(double coord) const
    {
        const double offset = reversed ? range.upper - coord : coord - range.lower;
        return horizontal ? offset / range.size() * extent + origin : origin - offset / range.size() * extent;
    }

    QCPRange range;
    bool reversed;
    bool horizontal;
    double origin;
    double extent;
};

quint64 mixIn(quint64 hash, double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return (hash ^ bits) * 1099511628211ull;
}

} // namespace

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

// A plain line is drawn from the cached pixel positions, clipped to the axis
// rect; the library's own line computation costs as much as the whole replot
// may take on a long trace. Fills and scatters take the library's way.
void AdaptiveCurve::draw(QCPPainter* painter)
{
    if (!drawsPlainLine()) {
        QCPCurve::draw(painter);
        return;
    }
    if (mDataContainer->isEmpty())
        return;
    // The data may have changed in place where the fingerprint does not look,
    // so every drawing projects the points afresh; hit tests between two
    // drawings use what the last one projected.
    rebuildPixelIndex(currentView());
    QList<QCPDataRange> selectedSegments, unselectedSegments;
    getDataSegments(selectedSegments, unselectedSegments);
    const QCPDataRange all(0, dataCount());
    auto drawSegment = [&](const QCPDataRange& range, const QPen& pen) {
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        PolylineThinner thinner;
        const QPointF* points = m_points.points().constData() + range.begin();
        PolylineClipping::clip(points, range.size(), lineClipRect(pen.widthF()), thinner);
        QCPCurve::drawCurveLine(painter, thinner.take());
    };
    // Unselected stretches reach to the bordering selected points.
    for (const QCPDataRange& range : unselectedSegments)
        drawSegment(range.adjusted(-1, 1).bounded(all), mPen);
    for (const QCPDataRange& range : selectedSegments)
        drawSegment(range, mSelectionDecorator ? mSelectionDecorator->pen() : mPen);
    if (mSelectionDecorator)
        mSelectionDecorator->drawDecoration(painter, selection());
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
    const double margin = qMax(1.0, penWidth * 0.75);
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
        QVector<QPointF> lines;
        getCurveLines(&lines, QCPDataRange(0, dataCount()), hitTestPenWidth(mParentPlot->selectionTolerance()));
        m_lines.build(std::move(lines));
        m_linesValid = true;
    }
    return m_lines;
}

void AdaptiveCurve::refreshPixelIndex() const
{
    const View view = currentView();
    if (view == m_view && !m_points.isEmpty())
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
}

void AdaptiveCurve::projectPoints(QVector<QPointF>& pixels) const
{
    // A buffer far larger than the data goes, so that a curve does not hold
    // on to the memory of a long trace it showed before.
    if (pixels.capacity() > 2 * dataCount())
        pixels = QVector<QPointF>();
    pixels.resize(dataCount());
    QPointF* out = pixels.data();
    const bool linear = mKeyAxis->scaleType() == QCPAxis::stLinear && mValueAxis->scaleType() == QCPAxis::stLinear;
    if (!linear) {
        for (auto it = mDataContainer->constBegin(); it != mDataContainer->constEnd(); ++it)
            *out++ = coordsToPixels(it->key, it->value);
        return;
    }
    const LinearAxisMapping key(mKeyAxis);
    const LinearAxisMapping value(mValueAxis);
    for (auto it = mDataContainer->constBegin(); it != mDataContainer->constEnd(); ++it)
        *out++ = key.horizontal ? QPointF(key(it->key), value(it->value)) : QPointF(value(it->value), key(it->key));
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
    view.sample = sampleOfData();
    view.tolerance = mParentPlot->selectionTolerance();
    return view;
}

// A fingerprint of a few points spread over the data, so that data changed in
// place (a rotation, say) does not leave stale pixel positions behind.
quint64 AdaptiveCurve::sampleOfData() const
{
    const int count = mDataContainer->size();
    const int step = qMax(1, count / 64);
    quint64 hash = 14695981039346656037ull;
    for (int i = 0; i < count; i += step) {
        const QCPCurveData& point = *(mDataContainer->constBegin() + i);
        hash = mixIn(mixIn(hash, point.key), point.value);
    }
    if (count > 0) {
        const QCPCurveData& last = *(mDataContainer->constEnd() - 1);
        hash = mixIn(mixIn(hash, last.key), last.value);
    }
    return hash;
}

bool AdaptiveCurve::View::operator==(const View& other) const
{
    return keyRange == other.keyRange && valueRange == other.valueRange && keyReversed == other.keyReversed
        && valueReversed == other.valueReversed && keyScale == other.keyScale && valueScale == other.valueScale
        && keyOrientation == other.keyOrientation && keyRect == other.keyRect && valueRect == other.valueRect
        && data == other.data && size == other.size && sample == other.sample && tolerance == other.tolerance;
}
