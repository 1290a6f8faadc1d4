#include "Measurement.h"

#include "DisplayUnit.h"
#include "Geometry.h"
#include "MeasurementLayers.h"
#include "PickCurve.h"
#include "ReperPoint.h"
#include "math/LengthUnit.h"
#include "math/SinglePrecision.h"

#include "plot/PlotWidget.h"

#include <QDebug>
#include <QMouseEvent>

#include <atomic>

namespace {

int nextMeasurementId()
{
    static std::atomic<int> lastId{0};
    return ++lastId;
}

} // namespace

const QString kNotComputedText = QStringLiteral("—");

Measurement::Measurement(int kind, PlotWidget* plot, int reperPointCount)
    : m_plot(plot)
    , m_id(nextMeasurementId())
    , m_kind(kind)
    , m_geometryUnit(DisplayUnit::current())
{
    if (plot) {
        connectPlottables();
        addConnection(connect(plot, &QCustomPlot::mouseMove, this, &Measurement::followCursor));
    }
    addReperPoints(reperPointCount);
}

Measurement::~Measurement()
{
    disconnectAll();
    for (ReperPoint* point : qAsConst(m_reperPoints)) {
        emit reperPointRemoved(point);
        delete point;
    }
    m_reperPoints.clear();
    m_fixedReperPoints.clear();
    removePickCurve();
}

// Only the plottables present now: curves added later are not followed.
void Measurement::connectPlottables()
{
    const auto changed = QOverload<const QCPDataSelection&>::of(&QCPAbstractPlottable::selectionChanged);
    for (int i = 0; i < m_plot->plottableCount(); ++i)
        addConnection(connect(m_plot->plottable(i), changed, this, &Measurement::graphSelectionChanged));
}

void Measurement::updateSelectionMarker() {}

void Measurement::reloadSettings() {}

double Measurement::nominalValue() const
{
    return 0.0;
}

double Measurement::tolerance() const
{
    return 1.0;
}

PlotWidget* Measurement::plot() const
{
    return m_plot;
}

const Selection* Measurement::selection(qint64 i) const
{
    if (quint64(i) >= quint64(m_selections.size()))
        return nullptr;
    return &m_selections.at(int(i));
}

bool Measurement::selectionsComplete() const
{
    if (m_selections.isEmpty())
        return false;
    for (const Selection& selection : m_selections) {
        if (!selection.plottable)
            return false;
    }
    return true;
}

void Measurement::startNextSelection()
{
    ++m_currentSelection;
    m_selections.append(Selection());
}

QPointF Measurement::cursorPosition() const
{
    return m_cursor * DisplayUnit::unitsPerMillimetre();
}

void Measurement::addConnection(const QMetaObject::Connection& connection)
{
    m_connections.append(connection);
}

void Measurement::disconnectAll()
{
    for (const QMetaObject::Connection& connection : qAsConst(m_connections))
        disconnect(connection);
}

void Measurement::addReperPoints(int count)
{
    if (count > 0 && m_plot && !m_pickCurve) {
        m_pickCurve = new PickCurve(m_plot);
        m_pickCurve->setLayer(currentLayer());
    }
    m_reperPoints.reserve(m_reperPoints.size() + count);
    for (int i = 0; i < count; ++i)
        m_reperPoints.append(new ReperPoint(m_pickCurve, this));
}

void Measurement::setReperPoint(int i, const QPointF& p)
{
    if (i < 0 || i >= m_reperPoints.size()) {
        qWarning() << "Measurement::setReperPoint: no reference point" << i << "of" << m_reperPoints.size();
        return;
    }
    if (!Algos::isFinite(p))
        return;
    ReperPoint* point = m_reperPoints.at(i);
    point->setPosition(p);
    point->setMarkerVisible(true);
    emit reperPointChanged(point);
}

void Measurement::removeLastReperPoint()
{
    if (m_reperPoints.isEmpty())
        return;
    ReperPoint* point = m_reperPoints.takeLast();
    // Searched from the back, where the last reference point stands among
    // the fixed ones: a drawing's hundred thousand points go one by one.
    const int fixed = m_fixedReperPoints.lastIndexOf(point);
    if (fixed >= 0)
        m_fixedReperPoints.removeAt(fixed);
    point->setMarkerVisible(false);
    emit reperPointRemoved(point);
    delete point;
    if (m_reperPoints.isEmpty())
        removePickCurve();
}

void Measurement::removePickCurve()
{
    if (m_plot && m_pickCurve)
        m_plot->removePlottable(m_pickCurve);
}

void Measurement::makeReperPointsSelectable()
{
    for (ReperPoint* point : qAsConst(m_reperPoints))
        point->setSelectable();
}

void Measurement::makeReperPointsUnselectable()
{
    for (ReperPoint* point : qAsConst(m_reperPoints))
        point->setUnselectable();
}

void Measurement::addFixedReperPoints(const QList<QPointF>& positions)
{
    const int first = m_reperPoints.size();
    addReperPoints(positions.size());
    for (int i = 0; i < positions.size(); ++i) {
        m_fixedReperPoints.append(m_reperPoints.at(first + i));
        setReperPoint(first + i, positions.at(i));
    }
}

void Measurement::followDisplayUnit()
{
    const int unit = DisplayUnit::current();
    const std::optional<double> to = MeasurementMath::unitsPerMillimetre(unit);
    if (!to || unit == m_geometryUnit)
        return;
    const std::optional<double> from = MeasurementMath::unitsPerMillimetre(m_geometryUnit);
    m_geometryUnit = unit;
    if (from)
        scaleGeometry(*to / *from);
}

void Measurement::scaleGeometry(double ratio)
{
    for (ReperPoint* point : qAsConst(m_fixedReperPoints))
        setReperPoint(m_reperPoints.indexOf(point), point->position() * ratio);
}

void Measurement::markValueComputed()
{
    m_valueNotComputed = false;
    m_notComputedReason.clear();
}

void Measurement::markValueNotComputed(const QString& reason)
{
    m_valueNotComputed = true;
    m_notComputedReason = reason;
    if (!reason.isEmpty())
        emit statusText(name() + QStringLiteral(": ") + reason);
}

QString Measurement::resultStatus() const
{
    const bool reasoned = m_valueNotComputed && !m_notComputedReason.isEmpty();
    return name() + QStringLiteral(": ") + (reasoned ? m_notComputedReason : valueText());
}

QString Measurement::computedValueText(const QString& text) const
{
    return m_valueNotComputed ? kNotComputedText : text;
}

void Measurement::calculateAtRelease(QMouseEvent* event)
{
    if (m_plot)
        m_plot->takeInRelease(event);
    calculate();
    emit measumentChanged();
}

void Measurement::finish()
{
    m_finished = true;
    disconnectAll();
    settleOnOverlay();
    setHighlighted(false);
    if (m_plot)
        m_plot->replot(QCustomPlot::rpRefreshHint);
}

void Measurement::adopt(QCPLayerable* item)
{
    if (!item)
        return;
    if (QCPLayer* layer = currentLayer())
        item->setLayer(layer);
    m_items.append(item);
}

QCPLayer* Measurement::currentLayer() const
{
    return m_finished ? MeasurementLayers::settled(m_plot) : MeasurementLayers::editing(m_plot);
}

void Measurement::settleOnOverlay()
{
    QCPLayer* overlay = MeasurementLayers::settled(m_plot);
    if (!overlay)
        return;
    for (const QPointer<QCPLayerable>& item : qAsConst(m_items)) {
        if (item)
            item->setLayer(overlay);
    }
    if (m_pickCurve)
        m_pickCurve->setLayer(overlay);
}

void Measurement::graphSelectionChanged(QCPDataSelection sel)
{
    if (m_selectionLocked)
        return;
    const QCPDataRange range = sel.isEmpty() ? QCPDataRange() : sel.dataRange(0);
    const Selection record{range.begin(), range.end(), qobject_cast<QCPAbstractPlottable*>(sender())};
    if (m_currentSelection >= quint64(m_selections.size()))
        m_selections.append(record);
    else
        m_selections[int(m_currentSelection)] = record;
}

// The cursor goes through single precision in plot units first, then to
// millimetres.
void Measurement::followCursor(QMouseEvent* event)
{
    const double scale = DisplayUnit::millimetresPerUnit();
    const QPoint pos = event->pos();
    m_cursor = QPointF(MeasurementMath::toSinglePrecision(m_plot->xAxis->pixelToCoord(pos.x())) * scale,
                       MeasurementMath::toSinglePrecision(m_plot->yAxis->pixelToCoord(pos.y())) * scale);
    calculate();
    redrawAfterMove();
    emit measumentChanged();
}

void Measurement::redrawAfterMove()
{
    QCPLayer* layer = currentLayer();
    if (m_moveRedraw == MoveRedraw::OwnLayer && layer)
        layer->replot();
    else
        m_plot->replot(QCustomPlot::rpRefreshHint);
}
