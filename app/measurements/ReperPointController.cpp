#include "ReperPointController.h"

#include "Measurement.h"
#include "ReperPoint.h"

#include "plot/PlotWidget.h"

#include <QCursor>
#include <QMouseEvent>

#include <cmath>
#include <cstdlib>

namespace {

// Pixel differences in x and y added must stay below this to attract the cursor.
constexpr int kSnapReach = 5;
// Pixel coordinates beyond this cannot be near a mouse position and would not
// fit an int.
constexpr double kFarPixel = 1e9;

const QString kMarkerLayer = QStringLiteral("overlay");

} // namespace

ReperPointController::ReperPointController(PlotWidget* plot)
    : m_plot(plot)
{
}

void ReperPointController::reperPointChanged(ReperPoint* p)
{
    if (p)
        m_points.insert(p, p);
}

void ReperPointController::reperPointRemoved(ReperPoint* p)
{
    m_points.remove(p);
}

void ReperPointController::makePointsSelectable()
{
    for (const QPointer<ReperPoint>& point : qAsConst(m_points)) {
        if (point)
            point->setSelectable();
    }
}

void ReperPointController::makePointsUnselectable()
{
    for (const QPointer<ReperPoint>& point : qAsConst(m_points)) {
        if (point)
            point->setUnselectable();
    }
}

bool ReperPointController::pixelOf(const ReperPoint* point, QPoint& pixel) const
{
    const QPointF position = point->position();
    const double x = m_plot->xAxis->coordToPixel(position.x());
    const double y = m_plot->yAxis->coordToPixel(position.y());
    if (!(std::abs(x) < kFarPixel && std::abs(y) < kFarPixel))
        return false;
    pixel = QPoint(int(x), int(y));
    return true;
}

// Several points within reach are all highlighted; the cursor goes to the
// last of them in registry order. It is moved once, there: moving it onto each
// in turn would make the window system report moves back and forth between
// them, and each of those moves would start the round again.
void ReperPointController::mouseMove(QMouseEvent* e)
{
    if (!m_plot || !e)
        return;
    const QPoint mouse(int(std::floor(e->localPos().x() + 0.5)), int(std::floor(e->localPos().y() + 0.5)));
    bool changed = false;
    bool attracted = false;
    QPoint target;
    for (auto it = m_points.begin(); it != m_points.end();) {
        ReperPoint* point = it.value();
        if (!point) {
            it = m_points.erase(it);
            continue;
        }
        QPoint pixel;
        const bool attracts = point->measurement() && point->measurement()->isFinished() && pixelOf(point, pixel)
                              && std::abs(pixel.x() - mouse.x()) + std::abs(pixel.y() - mouse.y()) < kSnapReach;
        if (attracts) {
            attracted = true;
            target = pixel;
            changed |= !point->setHighlighted(true);
        } else {
            changed |= point->setHighlighted(false);
        }
        ++it;
    }
    if (attracted)
        moveCursorTo(target);
    if (changed)
        redrawMarkers();
}

void ReperPointController::moveCursorTo(const QPoint& pixel)
{
    const QPoint global = m_plot->mapToGlobal(pixel);
    if (QCursor::pos() != global)
        QCursor::setPos(global);
}

void ReperPointController::redrawMarkers()
{
    if (QCPLayer* layer = m_plot->layer(kMarkerLayer))
        layer->replot();
    else
        m_plot->replot(QCustomPlot::rpRefreshHint);
}
