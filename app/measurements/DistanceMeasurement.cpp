#include "DistanceMeasurement.h"

#include "DisplayUnit.h"
#include "math/Dimension.h"

#include "AppSettings.h"
#include "Logger.h"

#include <QMouseEvent>
#include <QMutexLocker>

namespace {

bool alternativePicking()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    return settings.preferenses.alternative_measurement;
}

// "(x,y)" with six decimals each, as printf's "%f" writes them.
QString coordinates(const QPointF& p)
{
    return QStringLiteral("(") + QString::number(p.x(), 'f', 6) + QStringLiteral(",")
        + QString::number(p.y(), 'f', 6) + QStringLiteral(")");
}

} // namespace

DistanceMeasurement::DistanceMeasurement(E_MEASUREMENTS code, PlotWidget* plot, PointMode mode)
    : Measurement(measurementKind(code)->type, plot, 2)
    , m_items(plot)
    , m_mode(mode)
    , m_name(measurementKind(code)->name)
    , m_protocol(this, {1, true, [this] { return finishLine(); }})
{
    setYieldsValue(measurementKind(code)->yieldsValue);
    for (QCPLayerable* item : m_items.layerables())
        adoptItem(item);
    setHighlighted(true);
    setMoveRedraw(MoveRedraw::OwnLayer);
    if (mode == PointMode::Points) {
        m_point1 = snapPointRef(plot);
        m_point2 = snapPointRef(plot);
    }
    addConnection(connect(plot, &QCustomPlot::mouseMove, this, [this] { followSnap(); }));
    addConnection(connect(plot, &QCustomPlot::mouseRelease, this, &DistanceMeasurement::onMouseRelease));
    reloadSettings();
    markValueNotComputed();
}

DistanceMeasurement::~DistanceMeasurement()
{
    Logger::instance().log(INFO, name() + QStringLiteral(" delete with value: ") + valueText());
}

QString DistanceMeasurement::valueText() const
{
    return computedValueText(QString::number(m_value, 'f', 4) + m_unitText);
}

QString DistanceMeasurement::groupName() const
{
    return measurementKind(type())->groupName;
}

void DistanceMeasurement::setLabelEnlarged(bool enlarged)
{
    m_items.setLabelEnlarged(enlarged);
}

void DistanceMeasurement::updateLabel()
{
    if (QCPItemText* label = m_items.label()) {
        label->setText(labelText());
        label->setPositionAlignment(Qt::Alignment(m_alignment));
    }
}

void DistanceMeasurement::updateSelectionMarker()
{
    plot()->setSelectionMarkerVisible(true);
}

void DistanceMeasurement::setHighlighted(bool highlighted)
{
    m_items.setHighlighted(highlighted);
}

void DistanceMeasurement::reloadSettings()
{
    switch (DisplayUnit::current()) {
    case 0:
        m_unitText = QStringLiteral("мм");
        break;
    case 1:
        m_unitText = QStringLiteral("мкм");
        break;
    case 2:
        m_unitText = QStringLiteral("нм");
        break;
    default:
        break;
    }
}

PointRef DistanceMeasurement::snappedPoint() const
{
    return snapPointRef(plot());
}

const PointRef* DistanceMeasurement::leftRef() const
{
    if (!m_point1 || !m_point2)
        return m_point1 ? &*m_point1 : (m_point2 ? &*m_point2 : nullptr);
    return curvePointAt(*m_point2).x() < curvePointAt(*m_point1).x() ? &*m_point2 : &*m_point1;
}

const PointRef* DistanceMeasurement::rightRef() const
{
    if (!m_point1 || !m_point2)
        return leftRef();
    return leftRef() == &*m_point1 ? &*m_point2 : &*m_point1;
}

QPointF DistanceMeasurement::leftPoint() const
{
    const PointRef* ref = leftRef();
    return ref ? curvePointAt(*ref) : QPointF(0, 0);
}

QPointF DistanceMeasurement::rightPoint() const
{
    const PointRef* ref = rightRef();
    return ref ? curvePointAt(*ref) : QPointF(0, 0);
}

void DistanceMeasurement::logStart(const QString& kind) const
{
    Logger::instance().log(INFO, kind + QStringLiteral(" started in ") + coordinates(leftPoint()));
}

void DistanceMeasurement::setValue(double value)
{
    m_value = value;
    markValueComputed();
}

void DistanceMeasurement::showDimension(const MeasurementMath::Dimension& dimension)
{
    setValue(dimension.value);
    m_alignment = dimension.alignment;
    m_items.place(dimension);
    setReperPoint(0, dimension.extension1.p1());
    setReperPoint(1, dimension.extension2.p1());
    if (QCPItemText* label = m_items.label())
        label->setText(valueText());
    m_items.setVisible(true);
    reportValue();
}

void DistanceMeasurement::reportValue()
{
    emit statusText(name() + QStringLiteral(": ") + valueText());
}

// Runs after the base class has recalculated for this move, so the
// calculation sees the point stored at the previous move.
void DistanceMeasurement::followSnap()
{
    if (isFinished() || isPlacing())
        return;
    if (m_mode == PointMode::Ranges && m_completedRanges == 0)
        m_point1 = snappedPoint();
    else
        m_point2 = snappedPoint();
}

void DistanceMeasurement::onMouseRelease(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || isFinished())
        return;
    if (isPlacing()) {
        m_protocol.place();
        return;
    }
    if (completesPicking()) {
        m_point2 = snappedPoint();
        calculateAtRelease(event);
        m_protocol.lock();
        return;
    }
    m_point1 = snappedPoint();
    // The range the release completes, before the next one is picked.
    if (m_mode == PointMode::Ranges)
        calculateAtRelease(event);
    ++m_completedRanges;
    startNextSelection();
    if (!alternativePicking())
        ++m_clicks;
}

bool DistanceMeasurement::completesPicking() const
{
    if (alternativePicking())
        return m_mode == PointMode::Points || m_completedRanges >= 1;
    return m_clicks != 0;
}

QString DistanceMeasurement::finishLine() const
{
    if (m_mode == PointMode::Ranges)
        return QStringLiteral("Finished");
    return QStringLiteral("Finished in ") + coordinates(m_point2 ? curvePointAt(*m_point2) : QPointF(0, 0));
}
