#include "PlotWidget.h"

#include "OnePointCurveHitTest.h"
#include "PlotAxisTicker.h"

#include <QDebug>

#include <cmath>
#include <limits>

namespace {

const QString kMarkerLayer = QStringLiteral("overlay2");

// Reaches the protected selection handlers of any layerable, as the library's
// own plot class does as their friend.
struct LayerableAccess : QCPLayerable
{
    static QCP::Interaction categoryOf(const QCPLayerable* layerable)
    {
        return (layerable->*&LayerableAccess::selectionCategory)();
    }

    static bool deselect(QCPLayerable* layerable)
    {
        bool changed = false;
        (layerable->*&LayerableAccess::deselectEvent)(&changed);
        return changed;
    }

    static bool select(QCPLayerable* layerable, QMouseEvent* event, bool additive, const QVariant& details)
    {
        bool changed = false;
        (layerable->*&LayerableAccess::selectEvent)(event, additive, details, &changed);
        return changed;
    }
};

QPen selectionMarkerPen()
{
    return QPen(QBrush(Qt::gray), 1, Qt::DashDotLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

PlotWidget::PlotWidget(QWidget* parent)
    : QCustomPlot(parent)
{
    addLayer(kMarkerLayer, layer(QStringLiteral("overlay")), QCustomPlot::limAbove);
    layer(kMarkerLayer)->setMode(QCPLayer::lmBuffered);

    auto* rect = new PlotSelectionRect(this);
    rect->setLayer(QCustomPlot::selectionRect()->layer());
    setSelectionRect(rect);

    for (QCPAxis* axis : {xAxis, yAxis, xAxis2, yAxis2})
        PlotAxisTicker::install(axis);
}

// The library deletes the plottables after this destructor, when the registry
// no longer exists to hear of it.
PlotWidget::~PlotWidget()
{
    clearPlottables();
}

// The tickers choose their labels before the layout sizes the axis rects,
// for the size they had; when the layout changed a size, the labels are
// chosen again for the new one.
void PlotWidget::updateLayout()
{
    const auto rectSizes = [this] {
        QVector<QSize> sizes;
        for (const QCPAxisRect* rect : axisRects())
            sizes.append(rect->size());
        return sizes;
    };
    const QVector<QSize> before = rectSizes();
    QCustomPlot::updateLayout();
    if (rectSizes() != before)
        QCustomPlot::updateLayout();
}

bool PlotWidget::registerCurve(QCPCurve* curve)
{
    if (!curve) {
        qDebug() << "bool QCustomPlot::registerCurve(QCPCurve*)" << "passed graph is zero";
        return false;
    }
    if (m_registered.contains(curve)) {
        qDebug() << "bool QCustomPlot::registerCurve(QCPCurve*)" << "graph already registered with this QCustomPlot";
        return false;
    }
    if (curve->parentPlot() != this) {
        qDebug() << "bool QCustomPlot::registerCurve(QCPCurve*)" << "curve belongs to another plot";
        return false;
    }
    m_registered.insert(curve);
    connect(curve, &QObject::destroyed, this, [this](QObject* gone) {
        m_registered.remove(gone);
        ++m_vanishedCurves;
    });
    m_curves.append(curve);
    return true;
}

void PlotWidget::dropVanishedCurves() const
{
    if (m_vanishedCurves == 0)
        return;
    m_curves.removeAll(nullptr);
    m_vanishedCurves = 0;
}

QCPCurve* PlotWidget::curve(int index) const
{
    dropVanishedCurves();
    if (index < 0 || index >= m_curves.size()) {
        qDebug() << "QCPCurve* QCustomPlot::curve(int) const" << "index out of bounds:" << index;
        return nullptr;
    }
    return m_curves.at(index);
}

QCPCurve* PlotWidget::lastCurve() const
{
    dropVanishedCurves();
    return m_curves.isEmpty() ? nullptr : m_curves.constLast().data();
}

int PlotWidget::curveCount() const
{
    dropVanishedCurves();
    return m_curves.size();
}

bool PlotWidget::hasInteraction(const QCP::Interactions& flag) const
{
    return (mInteractions & flag) == flag;
}

void PlotWidget::setInteractions(const QCP::Interactions& interactions)
{
    mInteractions = interactions;
    applySelectionMarkerRule();
}

void PlotWidget::setInteraction(const QCP::Interactions& interaction, bool enabled)
{
    if (enabled)
        mInteractions |= interaction;
    else
        mInteractions &= ~interaction;
    applySelectionMarkerRule();
}

void PlotWidget::applySelectionMarkerRule()
{
    if (hasInteraction(QCP::iRangeSelection))
        createSelectionMarker();
    else
        deleteSelectionMarker();
}

void PlotWidget::createSelectionMarker()
{
    if (m_selectionMarker)
        return;
    auto* marker = new QCPItemLine(this);
    marker->setLayer(kMarkerLayer);
    marker->setSelectable(false);
    marker->setPen(selectionMarkerPen());
    marker->setHead(QCPLineEnding(QCPLineEnding::esLineArrow, 8, 10, false));
    m_selectionMarker = marker;
    replot(rpRefreshHint);
    qDebug() << "created selection marker";
}

void PlotWidget::deleteSelectionMarker()
{
    if (!m_selectionMarker)
        return;
    removeItem(m_selectionMarker);
    m_selectionMarker = nullptr;
    replot(rpRefreshHint);
    qDebug() << "deleted selection marker";
}

QCPItemLine* PlotWidget::setSelectionMarkerVisible(bool visible)
{
    if (m_selectionMarker)
        m_selectionMarker->setVisible(visible);
    return m_selectionMarker;
}

void PlotWidget::setSelectionRectMode(QCP::SelectionRectMode mode)
{
    if (mSelectionRect && mode == QCP::srmNone)
        mSelectionRect->cancel();
    mSelectionRectMode = mode;
}

// The rectangle is connected once; the slots act by the mode in force.
void PlotWidget::setSelectionRect(PlotSelectionRect* selectionRect)
{
    delete mSelectionRect;
    mSelectionRect = selectionRect;
    if (!selectionRect)
        return;
    connect(selectionRect, &QCPSelectionRect::accepted, this, &PlotWidget::onSelectionRectAccepted);
    connect(selectionRect, &QCPSelectionRect::changed, this, &PlotWidget::onSelectionRectChanged);
}

PlotSelectionRect* PlotWidget::selectionRect() const
{
    return qobject_cast<PlotSelectionRect*>(mSelectionRect);
}

void PlotWidget::onSelectionRectAccepted(const QRect& rect, QMouseEvent* event)
{
    if (mSelectionRectMode == QCP::srmZoom)
        processRectZoom(rect, event);
    else if (mSelectionRectMode == QCP::srmSelect || mSelectionRectMode == QCP::srmSelectRealtime)
        processRectSelection(rect, event);
}

void PlotWidget::onSelectionRectChanged(const QRect& rect, QMouseEvent* event)
{
    if (mSelectionRectMode == QCP::srmSelectRealtime)
        processRectSelection(rect, event);
}

// In registry order, a later curve wins only when it is nearer than the best
// distance so far cut to a whole number of pixels. A curve of the pick point
// index takes part with the one point of it that could win.
PlotWidget::CurveHit PlotWidget::nearestCurve(const QPointF& pos) const
{
    dropVanishedCurves();
    const QHash<const QCPCurve*, PickHit> picks = nearestPickPoints(pos);
    CurveHit best;
    double bestDistance = 0;
    for (QCPCurve* curve : qAsConst(m_curves)) {
        if (curve->selectable() == QCP::stNone)
            continue;
        double distance = 0;
        int index = -1;
        if (m_pickPoints.holds(curve)) {
            const PickHit hit = picks.value(curve);
            index = hit.index;
            distance = hit.distance;
        } else {
            index = nearestIndex(curve, pos, &distance);
        }
        if (index < 0 || std::isnan(distance))
            continue;
        if (!best.curve || distance < bestDistance) {
            best = {curve, index};
            bestDistance = std::trunc(distance);
        }
    }
    return best;
}

// Outward from the cursor's x, a side ends where the x distance alone reaches
// the next whole pixel above the least distance found.
QHash<const QCPCurve*, PlotWidget::PickHit> PlotWidget::nearestPickPoints(const QPointF& pos) const
{
    QHash<const QCPCurve*, PickHit> hits;
    if (m_pickPoints.pickableCount() == 0
        || (!axisRect()->rect().contains(pos.toPoint()) && !hasInteraction(QCP::iSelectPlottablesBeyondAxisRect)))
        return hits;
    struct Near
    {
        int id;
        double distance;
    };
    QVector<Near> near;
    double least = std::numeric_limits<double>::infinity();
    double reach = least;
    m_pickPoints.walkOutward(xAxis->pixelToCoord(pos.x()), [&](int id) {
        const PickPointIndex::Point& point = m_pickPoints.point(id);
        const double x = xAxis->coordToPixel(point.position.x());
        if (!(std::abs(x - pos.x()) < reach))
            return false;
        if (!point.pickable)
            return true;
        const double y = yAxis->coordToPixel(point.position.y());
        const double distance = QCPVector2D(QPointF(x, y) - pos).length();
        if (distance < reach) {
            near.append({id, distance});
            if (distance < least) {
                least = distance;
                reach = std::trunc(distance) + 1;
            }
        }
        return true;
    });
    for (const Near& candidate : qAsConst(near)) {
        if (candidate.distance >= reach)
            continue;
        const PickPointIndex::Point& point = m_pickPoints.point(candidate.id);
        PickHit& hit = hits[point.curve];
        if (hit.index < 0 || point.index < hit.index)
            hit = {point.index, candidate.distance};
    }
    return hits;
}

int PlotWidget::nearestIndex(const QCPCurve* curve, const QPointF& pos, double* distance)
{
    if (curve->dataCount() == 1) {
        const double result = onePointCurveHitTest(curve, pos);
        if (distance)
            *distance = result;
        return result < 0 ? -1 : 0;
    }
    QVariant details;
    const double result = curve->selectTest(pos, true, &details);
    if (distance)
        *distance = result;
    if (result < 0)
        return -1;
    const QCPDataSelection selection = details.value<QCPDataSelection>();
    const int index = selection.isEmpty() ? -1 : selection.dataRange(0).begin();
    return index < curve->dataCount() ? index : -1;
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event)
{
    QCustomPlot::mouseMoveEvent(event);
    if (!hasInteraction(QCP::iRangeSelection) || !m_selectionMarker)
        return;
    snapSelectionMarker(event->pos());
    m_selectionMarker->layer()->replot();
    event->accept();
}

void PlotWidget::takeInRelease(QMouseEvent* event)
{
    if (!event || !mMouseHasMoved || mSelectionRectMode != QCP::srmSelectRealtime)
        return;
    if (PlotSelectionRect* rect = selectionRect(); rect && rect->isActive())
        rect->followTo(event);
}

void PlotWidget::snapSelectionMarker(const QPoint& pos)
{
    const CurveHit hit = nearestCurve(pos);
    if (!hit.curve)
        return;
    const QCPCurveData& point = *(hit.curve->data()->constBegin() + hit.index);
    m_selectionMarker->start->setCoords(xAxis->pixelToCoord(pos.x()), yAxis->pixelToCoord(pos.y()));
    m_selectionMarker->end->setCoords(point.key, point.value);
    m_selectionMarkerIndex = hit.index;
    m_selectionMarkerCurve = hit.curve;
}

void PlotWidget::processRectSelection(QRect rect, QMouseEvent* event)
{
    bool changed = false;
    if (mInteractions.testFlag(QCP::iSelectPlottables)) {
        const bool ranges = hasInteraction(QCP::iRangeSelection);
        PlotSelectionRect* dragRect = selectionRect();
        if (ranges && dragRect && !dragRect->startCurve())
            chooseStartCurve(dragRect, rect);

        const QRectF selection(rect.normalized());
        if (QCPAxisRect* axisRect = axisRectAt(selection.topLeft())) {
            Candidates candidates;
            if (ranges) {
                if (!addRangeCandidate(dragRect, event, candidates))
                    return;
            } else {
                addRectCandidates(axisRect, selection, candidates);
            }
            if (!mInteractions.testFlag(QCP::iMultiSelect)) {
                while (candidates.size() > 1)
                    candidates.erase(candidates.begin());
            }
            if (!hasInteraction(QCP::iKeepSelections))
                changed |= deselectAllBut(candidates.isEmpty() ? nullptr : candidates.constBegin()->first);
            changed |= selectCandidates(candidates, event);
        }
    }
    if (changed) {
        emit selectionChangedByUser();
        replot(rpQueuedReplot);
    } else if (mSelectionRect) {
        mSelectionRect->layer()->replot();
    }
}

// The range starts at the drag's start, the rectangle's first corner (the
// press position), whenever the first rectangle selection of the drag comes.
void PlotWidget::chooseStartCurve(PlotSelectionRect* rect, const QRect& selection) const
{
    const QPoint start = selection.topLeft();
    const CurveHit hit = nearestCurve(start);
    if (hit.curve)
        rect->setStart(hit.curve, start);
}

// The range runs between the points nearest to where the curve was picked and
// to the cursor, the higher index excluded. Where the cursor hits nothing
// (outside the axis rect), the last index reached stands. A reference point
// (a curve of the pick point index) has no range to span: it gives the empty
// range at 0.
bool PlotWidget::addRangeCandidate(PlotSelectionRect* rect, const QMouseEvent* event, Candidates& candidates) const
{
    QCPCurve* curve = rect ? rect->startCurve() : nullptr;
    if (!curve)
        return false;
    if (m_pickPoints.holds(curve)) {
        candidates.insert(0, Candidate(curve, QCPDataSelection(QCPDataRange(0, 0))));
        return true;
    }
    const int current = nearestIndex(curve, event->pos());
    if (current >= 0)
        rect->setLastIndex(current);
    const int start = nearestIndex(curve, rect->startPoint());
    const int end = rect->lastIndex() >= 0 ? rect->lastIndex() : qMax(start, 0);
    const int begin = start >= 0 ? start : end;
    const QCPDataRange range(qMin(begin, end), qMax(begin, end));
    candidates.insert(range.size(), Candidate(curve, QCPDataSelection(range)));
    return true;
}

void PlotWidget::addRectCandidates(QCPAxisRect* axisRect, const QRectF& selection, Candidates& candidates) const
{
    for (QCPAbstractPlottable* plottable : axisRect->plottables()) {
        if (QCPPlottableInterface1D* data = plottable->interface1D()) {
            const QCPDataSelection hit = data->selectTestRect(selection, true);
            if (!hit.isEmpty())
                candidates.insert(hit.dataPointCount(), Candidate(plottable, hit));
        }
    }
}

bool PlotWidget::deselectAllBut(const QCPLayerable* keep)
{
    bool changed = false;
    for (QCPLayer* layer : qAsConst(mLayers)) {
        for (QCPLayerable* layerable : layer->children()) {
            if (layerable != keep && mInteractions.testFlag(LayerableAccess::categoryOf(layerable)))
                changed |= LayerableAccess::deselect(layerable);
        }
    }
    return changed;
}

// Largest selection first; additive with the multi-select modifier.
bool PlotWidget::selectCandidates(const Candidates& candidates, QMouseEvent* event)
{
    const bool additive = event->modifiers().testFlag(mMultiSelectModifier);
    bool changed = false;
    for (auto it = candidates.constEnd(); it != candidates.constBegin();) {
        --it;
        QCPAbstractPlottable* plottable = it.value().first;
        if (mInteractions.testFlag(LayerableAccess::categoryOf(plottable)))
            changed |= LayerableAccess::select(plottable, event, additive, QVariant::fromValue(it.value().second));
    }
    return changed;
}
