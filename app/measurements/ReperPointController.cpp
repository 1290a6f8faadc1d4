#include "ReperPointController.h"

#include "Measurement.h"
#include "MeasurementLayers.h"
#include "PickCurve.h"
#include "ReperPoint.h"

#include "DrawingConstants.h"

#include "plot/PlotWidget.h"

#include <QCursor>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <cstdlib>

namespace {

// Pixel differences in x and y added must stay below this to attract the cursor.
constexpr int kSnapReach = 5;
// Pixel coordinates beyond this cannot be near a mouse position and would not
// fit an int.
constexpr double kFarPixel = 1e9;
constexpr double kHighlightSize = 7;
constexpr int kHighlightsReady = 4;

} // namespace

ReperPointController::ReperPointController(PlotWidget* plot)
    : m_plot(plot)
{
    // Circles ready for the usual few points within reach, so that lighting
    // them up adds no item to the layer, which would cost a full replot.
    for (int i = 0; m_plot && i < kHighlightsReady; ++i)
        m_highlights.append(createHighlight());
}

ReperPointController::~ReperPointController()
{
    if (!m_plot)
        return;
    for (const QPointer<QCPItemTracer>& highlight : qAsConst(m_highlights)) {
        if (highlight)
            m_plot->removeItem(highlight);
    }
}

QCPItemTracer* ReperPointController::createHighlight()
{
    auto* highlight = new QCPItemTracer(m_plot);
    highlight->setLayer(MeasurementLayers::editing(m_plot));
    highlight->setStyle(QCPItemTracer::tsCircle);
    highlight->setPen(kGreenPen);
    highlight->setBrush(QBrush(Qt::green, Qt::SolidPattern));
    highlight->setSize(kHighlightSize);
    highlight->setSelectable(false);
    highlight->setVisible(false);
    return highlight;
}

bool ReperPointController::contains(ReperPoint* point) const
{
    return m_points.contains(point);
}

void ReperPointController::reperPointChanged(ReperPoint* p)
{
    if (!p)
        return;
    if (!m_points.contains(p)) {
        m_points.insert(p);
        connect(p, &QObject::destroyed, this, [this, p] { forget(p); });
    }
    if (m_highlighted.contains(p))
        showHighlights();
}

void ReperPointController::reperPointRemoved(ReperPoint* p)
{
    if (!contains(p))
        return;
    disconnect(p, &QObject::destroyed, this, nullptr);
    forget(p);
}

// Only compares the address: the point may be half destroyed.
void ReperPointController::forget(ReperPoint* point)
{
    m_points.remove(point);
    if (m_highlighted.removeAll(point) > 0)
        showHighlights();
}

void ReperPointController::makePointsSelectable()
{
    for (ReperPoint* point : qAsConst(m_points))
        point->setSelectable();
}

void ReperPointController::makePointsUnselectable()
{
    for (ReperPoint* point : qAsConst(m_points))
        point->setUnselectable();
}

bool ReperPointController::pixelOf(const QCPAxis* xAxis, const QCPAxis* yAxis, const QPointF& position, QPoint& pixel)
{
    const double x = xAxis->coordToPixel(position.x());
    const double y = yAxis->coordToPixel(position.y());
    if (!(std::abs(x) < kFarPixel && std::abs(y) < kFarPixel))
        return false;
    pixel = QPoint(int(x), int(y));
    return true;
}

// A side of the walk through the index ends where the x difference alone is
// out of reach.
QVector<ReperPointController::Reached> ReperPointController::pointsInReach(const QPoint& mouse) const
{
    const QCPAxis* xAxis = m_plot->xAxis;
    const QCPAxis* yAxis = m_plot->yAxis;
    const PickPointIndex& index = m_plot->pickPoints();
    QVector<Reached> reached;
    index.walkOutward(xAxis->pixelToCoord(mouse.x()), [&](int id) {
        const PickPointIndex::Point& entry = index.point(id);
        const double x = xAxis->coordToPixel(entry.position.x());
        if (!(std::abs(x) < kFarPixel && std::abs(int(x) - mouse.x()) < kSnapReach))
            return false;
        QPoint pixel;
        if (!pixelOf(xAxis, yAxis, entry.position, pixel)
            || std::abs(pixel.x() - mouse.x()) + std::abs(pixel.y() - mouse.y()) >= kSnapReach)
            return true;
        const auto* curve = qobject_cast<const PickCurve*>(entry.curve);
        ReperPoint* point = curve ? curve->reperPoint(entry.index) : nullptr;
        if (point && m_points.contains(point) && point->measurement() && point->measurement()->isFinished())
            reached.append({point, pixel});
        return true;
    });
    std::sort(reached.begin(), reached.end(),
              [](const Reached& a, const Reached& b) { return std::less<ReperPoint*>()(a.point, b.point); });
    return reached;
}

// Several points within reach are all highlighted; the cursor goes to the
// last of them by address. It is moved once, there: moving it onto each in
// turn would make the window system report moves back and forth between
// them, and each of those moves would start the round again.
void ReperPointController::mouseMove(QMouseEvent* e)
{
    if (!m_plot || !e)
        return;
    const QPoint mouse(int(std::floor(e->localPos().x() + 0.5)), int(std::floor(e->localPos().y() + 0.5)));
    const QVector<Reached> reached = pointsInReach(mouse);
    QVector<ReperPoint*> highlighted;
    for (const Reached& r : reached)
        highlighted.append(r.point);
    bool changed = false;
    for (ReperPoint* point : qAsConst(m_highlighted)) {
        if (!highlighted.contains(point))
            changed |= point->setHighlighted(false);
    }
    for (ReperPoint* point : qAsConst(highlighted))
        changed |= !point->setHighlighted(true);
    if (!reached.isEmpty())
        moveCursorTo(reached.constLast().pixel);
    if (changed) {
        m_highlighted = highlighted;
        showHighlights();
    }
}

void ReperPointController::moveCursorTo(const QPoint& pixel)
{
    const QPoint global = m_plot->mapToGlobal(pixel);
    if (QCursor::pos() != global)
        QCursor::setPos(global);
}

void ReperPointController::showHighlights()
{
    if (!m_plot)
        return;
    m_highlights.removeAll(nullptr);
    while (m_highlights.size() < m_highlighted.size())
        m_highlights.append(createHighlight());
    for (int i = 0; i < m_highlights.size(); ++i) {
        QCPItemTracer* highlight = m_highlights.at(i);
        const bool used = i < m_highlighted.size();
        if (used)
            highlight->position->setCoords(m_highlighted.at(i)->position());
        highlight->setVisible(used);
    }
    if (QCPLayer* layer = MeasurementLayers::editing(m_plot))
        layer->replot();
}
