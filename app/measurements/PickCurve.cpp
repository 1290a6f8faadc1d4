#include "PickCurve.h"

#include "DrawingConstants.h"
#include "Geometry.h"

#include "plot/PlotWidget.h"

#include <QPainter>

namespace {

constexpr double kMarkerSize = 7;
// From this many points on, the markers are kept as an image on screen.
constexpr int kImageFrom = 100;

// Whether the marker's whole-pixel square meets the clip rectangle, as the
// library's tracer decides it. A centre far outside the view is rejected in
// floating point first: its whole-pixel square would not fit into int.
bool markerTouches(const QRect& clip, const QPointF& centre, double halfSize)
{
    const QRectF square(centre - QPointF(halfSize, halfSize), centre + QPointF(halfSize, halfSize));
    if (!Algos::isFinite(centre) || !QRectF(clip).adjusted(-1, -1, 1, 1).intersects(square))
        return false;
    return clip.intersects(square.toRect());
}

} // namespace

PickCurve::PickCurve(PlotWidget* plot)
    : PlotCurve(plot->xAxis, plot->yAxis)
    , m_plot(plot)
{
    // It has no name and draws nothing of a curve.
    removeFromLegend();
    setSelectable(QCP::stNone);
}

PickCurve::~PickCurve()
{
    if (!m_plot)
        return;
    for (const Point& point : qAsConst(m_points)) {
        if (point.id >= 0)
            m_plot->pickPoints().remove(point.id);
    }
}

int PickCurve::addPoint(ReperPoint* owner)
{
    const int i = m_points.size();
    m_points.append(Point{owner});
    ++m_revision;
    data()->add(QCPCurveData(i, qQNaN(), qQNaN()));
    return i;
}

void PickCurve::removePoint(int i)
{
    if (i < 0 || i >= m_points.size())
        return;
    setPointSelectable(i, false);
    Point& point = m_points[i];
    if (point.id >= 0 && m_plot)
        m_plot->pickPoints().remove(point.id);
    point = Point();
    ++m_revision;
    setDataPoint(i, QPointF(qQNaN(), qQNaN()));
    while (!m_points.isEmpty() && !m_points.constLast().owner) {
        m_points.removeLast();
        data()->remove(m_points.size());
    }
}

ReperPoint* PickCurve::reperPoint(int i) const
{
    return i >= 0 && i < m_points.size() ? m_points.at(i).owner : nullptr;
}

void PickCurve::setDataPoint(int i, const QPointF& p)
{
    const auto it = data()->begin() + i;
    it->key = p.x();
    it->value = p.y();
}

void PickCurve::setPosition(int i, const QPointF& p)
{
    if (i < 0 || i >= m_points.size() || !Algos::isFinite(p) || !m_plot)
        return;
    setDataPoint(i, p);
    ++m_revision;
    Point& point = m_points[i];
    PickPointIndex& index = m_plot->pickPoints();
    if (point.id >= 0)
        index.move(point.id, p);
    else
        point.id = index.add({p, this, i, point.selectable});
}

void PickCurve::setMarkerVisible(int i, bool visible)
{
    if (i < 0 || i >= m_points.size() || m_points.at(i).markerVisible == visible)
        return;
    m_points[i].markerVisible = visible;
    ++m_revision;
}

bool PickCurve::isMarkerVisible(int i) const
{
    return i >= 0 && i < m_points.size() && m_points.at(i).markerVisible;
}

void PickCurve::setPointSelectable(int i, bool selectable)
{
    if (i < 0 || i >= m_points.size() || m_points.at(i).selectable == selectable)
        return;
    Point& point = m_points[i];
    point.selectable = selectable;
    m_selectableCount += selectable ? 1 : -1;
    if (point.id >= 0 && m_plot)
        m_plot->pickPoints().setPickable(point.id, selectable);
    updateCurveSelectable();
}

bool PickCurve::isPointSelectable(int i) const
{
    return i >= 0 && i < m_points.size() && m_points.at(i).selectable;
}

void PickCurve::updateCurveSelectable()
{
    const QCP::SelectionType wanted = m_selectableCount > 0 ? QCP::stWhole : QCP::stNone;
    if (selectable() != wanted)
        setSelectable(wanted);
}

double PickCurve::selectTest(const QPointF& pos, bool onlySelectable, QVariant* details) const
{
    if ((onlySelectable && m_selectableCount == 0) || !keyAxis() || !valueAxis())
        return -1;
    if (!keyAxis()->axisRect()->rect().contains(pos.toPoint())
        && !parentPlot()->interactions().testFlag(QCP::iSelectPlottablesBeyondAxisRect))
        return -1;
    double best = -1;
    int bestIndex = -1;
    auto it = data()->constBegin();
    for (int i = 0; i < m_points.size(); ++i, ++it) {
        const Point& point = m_points.at(i);
        if (point.id < 0 || (onlySelectable && !point.selectable))
            continue;
        const QPointF pixel(keyAxis()->coordToPixel(it->key), valueAxis()->coordToPixel(it->value));
        const double distance = QCPVector2D(pixel - pos).length();
        if (bestIndex < 0 || distance < best) {
            best = distance;
            bestIndex = i;
        }
    }
    if (bestIndex >= 0 && details)
        details->setValue(QCPDataSelection(QCPDataRange(bestIndex, bestIndex + 1)));
    return best;
}

QCPDataSelection PickCurve::selectTestRect(const QRectF& rect, bool onlySelectable) const
{
    QCPDataSelection selection;
    if ((onlySelectable && m_selectableCount == 0) || !keyAxis() || !valueAxis())
        return selection;
    auto it = data()->constBegin();
    for (int i = 0; i < m_points.size(); ++i, ++it) {
        const Point& point = m_points.at(i);
        if (point.id < 0 || (onlySelectable && !point.selectable))
            continue;
        if (rect.contains(keyAxis()->coordToPixel(it->key), valueAxis()->coordToPixel(it->value)))
            selection.addDataRange(QCPDataRange(i, i + 1), false);
    }
    selection.simplify();
    return selection;
}

bool PickCurve::Looks::operator==(const Looks& other) const
{
    return keyRange == other.keyRange && valueRange == other.valueRange && axisScales == other.axisScales
           && clip == other.clip && pixelRatio == other.pixelRatio && antialiased == other.antialiased
           && revision == other.revision;
}

// Exports (and vector output) get the markers drawn, not the screen's image,
// and so do the few points of most measurements, whose image would cost more
// than the markers while they move.
void PickCurve::draw(QCPPainter* painter)
{
    if (!keyAxis() || !valueAxis())
        return;
    const bool vectorized = painter->modes().testFlag(QCPPainter::pmVectorized);
    if (painter->modes().testFlag(QCPPainter::pmNoCaching) || vectorized || m_points.size() < kImageFrom) {
        painter->setPen(kMagentaDashPen);
        drawMarkers(painter, QPointF(), !painter->antialiasing() && !vectorized);
        return;
    }
    const QRect clip = clipRect();
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1;
    const int axisScales = keyAxis()->scaleType() | valueAxis()->scaleType() << 1 | keyAxis()->rangeReversed() << 2
                           | valueAxis()->rangeReversed() << 3;
    const Looks looks{keyAxis()->range(), valueAxis()->range(), axisScales, clip, ratio, painter->antialiasing(),
                      m_revision};
    if (!(looks == m_markersLooks)) {
        if (m_markers.size() != clip.size() * ratio || m_markers.devicePixelRatio() != ratio) {
            m_markers = QImage(clip.size() * ratio, QImage::Format_ARGB32_Premultiplied);
            m_markers.setDevicePixelRatio(ratio);
        }
        m_markers.fill(Qt::transparent);
        QPainter imagePainter(&m_markers);
        imagePainter.setRenderHint(QPainter::Antialiasing, looks.antialiased);
        imagePainter.setPen(kMagentaDashPen);
        // The library's painter shifts antialiased drawing by half a pixel.
        const QPointF shift = looks.antialiased ? QPointF(0.5, 0.5) : QPointF();
        drawMarkers(&imagePainter, shift - QPointF(clip.topLeft()), !looks.antialiased);
        m_markersLooks = looks;
    }
    // Undoes the half pixel shift, which the image has in it.
    painter->setAntialiasing(false);
    painter->drawImage(clip.topLeft(), m_markers);
}

// As the library's plus tracer draws itself, with the painter's pen, shifted
// by offset.
void PickCurve::drawMarkers(QPainter* painter, const QPointF& offset, bool wholePixels) const
{
    const auto drawLine = [painter, wholePixels](const QLineF& line) {
        if (wholePixels)
            painter->drawLine(line.toLine());
        else
            painter->drawLine(line);
    };
    const QCPAxis* xAxis = keyAxis();
    const QCPAxis* yAxis = valueAxis();
    const QRect clip = clipRect();
    const double w = kMarkerSize / 2;
    auto it = data()->constBegin();
    for (int i = 0; i < m_points.size(); ++i, ++it) {
        const Point& point = m_points.at(i);
        if (!point.markerVisible || point.id < 0)
            continue;
        const QPointF centre(xAxis->coordToPixel(it->key), yAxis->coordToPixel(it->value));
        if (!markerTouches(clip, centre, w))
            continue;
        const QPointF at = centre + offset;
        drawLine(QLineF(at + QPointF(-w, 0), at + QPointF(w, 0)));
        drawLine(QLineF(at + QPointF(0, -w), at + QPointF(0, w)));
    }
}

void PickCurve::applyDefaultAntialiasingHint(QCPPainter* painter) const
{
    applyAntialiasingHint(painter, mAntialiased, QCP::aeItems);
}
