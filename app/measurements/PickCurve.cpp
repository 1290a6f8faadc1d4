#include "PickCurve.h"

#include "DrawingConstants.h"

#include "plot/PlotWidget.h"

#include <QSet>

#include <cmath>
#include <limits>

namespace {

constexpr double kMarkerSize = 7;
// Markers whose centres fall into the same eighth of a pixel are drawn once.
constexpr double kMarkerGrid = 8;

bool isFinite(const QPointF& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
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
    const double nan = std::numeric_limits<double>::quiet_NaN();
    data()->add(QCPCurveData(i, nan, nan));
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
    if (i < 0 || i >= m_points.size() || !isFinite(p) || !m_plot)
        return;
    setDataPoint(i, p);
    Point& point = m_points[i];
    PickPointIndex& index = m_plot->pickPoints();
    if (point.id >= 0)
        index.move(point.id, p);
    else
        point.id = index.add({p, this, i, point.selectable});
}

void PickCurve::setMarkerVisible(int i, bool visible)
{
    if (i >= 0 && i < m_points.size())
        m_points[i].markerVisible = visible;
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

// The markers are drawn as the library's plus tracer draws itself, on the
// items' antialiasing.
void PickCurve::draw(QCPPainter* painter)
{
    const QCPAxis* xAxis = keyAxis();
    const QCPAxis* yAxis = valueAxis();
    if (!xAxis || !yAxis)
        return;
    painter->setPen(kMagentaDashPen);
    painter->setBrush(Qt::NoBrush);
    const QRect clip = clipRect();
    const double w = kMarkerSize / 2;
    QSet<QPair<qint64, qint64>> drawn;
    auto it = data()->constBegin();
    for (int i = 0; i < m_points.size(); ++i, ++it) {
        const Point& point = m_points.at(i);
        if (!point.markerVisible || point.id < 0)
            continue;
        const QPointF centre(xAxis->coordToPixel(it->key), yAxis->coordToPixel(it->value));
        if (!clip.intersects(QRectF(centre - QPointF(w, w), centre + QPointF(w, w)).toRect()))
            continue;
        const QPair<qint64, qint64> cell(std::llround(centre.x() * kMarkerGrid), std::llround(centre.y() * kMarkerGrid));
        if (drawn.contains(cell))
            continue;
        drawn.insert(cell);
        painter->drawLine(QLineF(centre + QPointF(-w, 0), centre + QPointF(w, 0)));
        painter->drawLine(QLineF(centre + QPointF(0, -w), centre + QPointF(0, w)));
    }
}

void PickCurve::applyDefaultAntialiasingHint(QCPPainter* painter) const
{
    applyAntialiasingHint(painter, mAntialiased, QCP::aeItems);
}
