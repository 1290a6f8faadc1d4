#include "MeasurementsManager.h"

#include "IntersectionPairing.h"

#include "Geometry.h"
#include "measurements/AgTextPlacement.h"
#include "measurements/ArcsRadiusMeasurement.h"
#include "measurements/CircumfAGMeasurement.h"
#include "measurements/CircumfAGSpecified.h"
#include "measurements/ClickDoubleLine.h"
#include "measurements/ClickHorizontalLine.h"
#include "measurements/ClickPoint.h"
#include "measurements/ClickVerticalLine.h"
#include "measurements/ComparePlaneDXF.h"
#include "measurements/DirectDistanceMeasurement.h"
#include "measurements/ErrorPlane.h"
#include "measurements/FindMaxPoint.h"
#include "measurements/FindMinPoint.h"
#include "measurements/HorisontalDistanceMeasurment.h"
#include "measurements/HorizontalAngleMeasurement.h"
#include "measurements/LayFlatByTwoMeasurement.h"
#include "measurements/LayFlatMeasurement.h"
#include "measurements/LinePrimitive.h"
#include "measurements/MeanHeightMeasurement.h"
#include "measurements/Measurement.h"
#include "measurements/MiddlePoint.h"
#include "measurements/RadiusDisplacementErrorMeasurementByTwoSegment.h"
#include "measurements/RadiusDisplacementFilterErrorMeasurement.h"
#include "measurements/RAMeasurement.h"
#include "measurements/RDEMeasurement.h"
#include "measurements/RDEMFiterByTwoSegment.h"
#include "measurements/RDEMSpecified.h"
#include "measurements/RegularAngleMeasurement.h"
#include "measurements/RegularRadiusMeasurement.h"
#include "measurements/ReperPoint.h"
#include "measurements/ReperPointController.h"
#include "measurements/RMSEMeasurement.h"
#include "measurements/RZMeasurement.h"
#include "measurements/Thread.h"
#include "measurements/VerticalAngleMeasurement.h"
#include "measurements/VerticalDistanceMeasurment.h"
#include "plot/PlotWidget.h"

#include <QMouseEvent>
#include <QShortcut>

namespace {

bool isLineKind(int kind)
{
    return kind == HORIZONTAL_LINE || kind == VERTICAL_LINE || kind == TWO_POINT_LINE;
}

bool createsMeasurement(int kind)
{
    return kind >= VERTICAL_DISTANCE && kind <= GRAPH_DEVIATION && measurementKind(kind);
}

} // namespace

MeasurementsManager::MeasurementsManager(PlotWidget* plot, QWidget* window)
    : m_reperPointController(new ReperPointController(plot))
    , m_plot(plot)
    , m_window(window)
{
    qRegisterMetaType<E_MEASUREMENTS>("E_MEASUREMENTS");
    if (plot) {
        connect(plot, &QCustomPlot::mouseMove, m_reperPointController, &ReperPointController::mouseMove);
        connect(plot, &QCustomPlot::mousePress, this, &MeasurementsManager::onPlotMousePress);
    }
    if (window) {
        m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
        connect(m_escape, &QShortcut::activated, this, &MeasurementsManager::cancelCurrentMeasurement);
        updateEscapeShortcut();
    }
}

// The levelling cells outlive every measurement, which may still write them
// while it goes.
MeasurementsManager::~MeasurementsManager()
{
    const QList<Measurement*> listed = m_measurements;
    for (Measurement* measurement : listed) {
        if (measurement == m_currentMeasurement)
            m_currentMeasurement = nullptr;
        m_measurements.removeOne(measurement);
        delete measurement;
    }
    delete m_currentMeasurement;
    m_currentMeasurement = nullptr;
    delete m_reperPointController;
    m_reperPointController = nullptr;
    delete m_escape;
}

void MeasurementsManager::setTraces(const QVector<AbstractTrace*>& traces)
{
    m_traces = traces;
    m_traceCount = traces.size();
}

void MeasurementsManager::setMeasurementType(int kind, bool keepInList, bool pointsSelectable,
                                             const QString& parameter)
{
    m_pointsSelectable = pointsSelectable;
    if (pointsSelectable)
        m_reperPointController->makePointsSelectable();
    else
        m_reperPointController->makePointsUnselectable();
    m_parameter = parameter;
    if (m_currentMeasurement) {
        if (kind != m_measurementType && !m_currentMeasurement->isFinished())
            abandonCurrentMeasurement();
        else
            m_currentMeasurement->updateSelectionMarker();
    }
    m_keepInList = keepInList;
    m_measurementType = kind;
    setUpPlotForKind(kind);
    updateEscapeShortcut();
}

void MeasurementsManager::setUpPlotForKind(int kind)
{
    if (!m_plot)
        return;
    if (kind == TEXT_PLACEMENT)
        m_plot->setCursor(Qt::IBeamCursor);
    if (kind == TEXT_PLACEMENT || kind == NO_MEASUREMENT) {
        m_plot->setInteractions(m_plot->interactions() | QCP::iRangeSelection);
        m_plot->setSelectionMarkerVisible(false);
    } else {
        m_plot->setInteractions(QCP::iRangeSelection);
        m_plot->setSelectionMarkerVisible(true);
    }
}

// The workspace removes the row of a listed measurement and, through
// removeMeasurement, the measurement itself. One that is not listed, or that
// no one removed, the manager deletes here.
void MeasurementsManager::abandonCurrentMeasurement()
{
    withdrawStatusText(m_currentMeasurement);
    const QPointer<Measurement> abandoned = m_currentMeasurement;
    const bool listed = m_measurements.contains(abandoned);
    emit deleteMeasurement(abandoned);
    m_currentMeasurement = nullptr;
    if (!abandoned)
        return;
    if (!listed)
        delete abandoned;
    else if (m_measurements.contains(abandoned))
        removeMeasurement(abandoned->id());
    if (m_plot)
        m_plot->replot(QCustomPlot::rpRefreshHint);
}

void MeasurementsManager::onPlotMousePress(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (isPlacing())
        return;
    if (m_currentMeasurement) {
        if (!m_measurements.contains(m_currentMeasurement))
            delete m_currentMeasurement;
        m_currentMeasurement = nullptr;
    }
    createCurrentMeasurement();
    connectCurrentMeasurement();
    updateEscapeShortcut();
}

void MeasurementsManager::createCurrentMeasurement()
{
    if (!createsMeasurement(m_measurementType))
        return;
    m_currentMeasurement = createMeasurement(m_window);
    if (!m_currentMeasurement)
        return;
    if (m_measurementType == TEXT_PLACEMENT && m_plot) {
        m_plot->setSelectionMarkerVisible(false);
    } else if (m_measurementType == DRAWING_COMPARISON) {
        settleDrawingImport();
    }
}

// An import that was refused or read nothing leaves the tab as it was, with
// the drawing kind still chosen; the reason goes to the status line.
void MeasurementsManager::settleDrawingImport()
{
    const auto* comparison = dynamic_cast<const ComparePlaneDXF*>(m_currentMeasurement);
    if (comparison && !comparison->isLoaded()) {
        const QString reason = comparison->loadError();
        delete m_currentMeasurement;
        m_currentMeasurement = nullptr;
        if (!reason.isEmpty())
            showStatusText(nullptr, reason);
        return;
    }
    emit enableButton(true);
    m_measurementType = NO_MEASUREMENT;
    emit drawingImported();
}

Measurement* MeasurementsManager::createMeasurement(QWidget* window)
{
    const int count = m_traceCount;
    switch (m_measurementType) {
    case VERTICAL_DISTANCE:
        return new VerticalDistanceMeasurment(m_plot);
    case HORIZONTAL_DISTANCE:
        return new HorisontalDistanceMeasurment(m_plot);
    case DIRECT_DISTANCE:
        return new DirectDistanceMeasurement(m_plot);
    case VERTICAL_ANGLE:
        return new VerticalAngleMeasurement(m_plot, count);
    case HORIZONTAL_ANGLE:
        return new HorizontalAngleMeasurement(m_plot, count);
    case REGULAR_ANGLE:
        return new RegularAngleMeasurement(m_plot, count);
    case REGULAR_RADIUS:
        return new RegularRadiusMeasurement(m_plot, count);
    case ARCS_RADIUS:
        return new ArcsRadiusMeasurement(m_plot, count);
    case LAY_FLAT:
        return new LayFlatMeasurement(m_plot, count);
    case LAY_FLAT_BY_TWO:
        return new LayFlatByTwoMeasurement(m_plot, count, &m_layFlatAngle, &m_layFlatCenter);
    case MEAN_HEIGHT:
        return new MeanHeightMeasurement(m_plot, count);
    case LINE_DEVIATION:
        return new RMSEMeasurement(m_plot, count);
    case CIRCLE_DEVIATION:
        return new RDEMeasurement(m_plot, count);
    case CIRCLE_DEVIATION_SPECIFIED:
        return new RDEMSpecified(m_plot, count, parameterValue());
    case CIRCLE_DEVIATION_FILTERED:
        return new RadiusDisplacementFilterErrorMeasurement(m_plot, count);
    case CIRCLE_DEVIATION_BY_SEGMENTS:
        return new RadiusDisplacementErrorMeasurementByTwoSegment(m_plot, count, parameterCount());
    case CIRCLE_DEVIATION_FILTERED_BY_SEGMENTS:
        return new RDEMFiterByTwoSegment(m_plot, count, parameterCount());
    case ROUGHNESS_RA:
        return new RAMeasurement(m_plot, count);
    case ROUGHNESS_RZ:
        return new RZMeasurement(m_plot, count);
    case CIRCLE:
        return new CircumfAGMeasurement(m_plot, count);
    case CIRCLE_SPECIFIED:
        return new CircumfAGSpecified(m_plot, count, parameterValue());
    case HORIZONTAL_LINE:
        return new ClickHorizontalLine(m_plot, count);
    case VERTICAL_LINE:
        return new ClickVerticalLine(m_plot, count);
    case TWO_POINT_LINE:
        return new ClickDoubleLine(m_plot, count);
    case TRACE_POINT:
        return new ClickPoint(m_plot, count);
    case MIDDLE_POINT:
        return new MiddlePoint(m_plot, count);
    case THREAD_MEAN_DIAMETER:
        return new Thread(m_plot, count);
    case MAX_POINT:
        return new FindMaxPoint(m_plot, count);
    case MIN_POINT:
        return new FindMinPoint(m_plot, count);
    case TEXT_PLACEMENT:
        return new AgTextPlacement(window, m_plot);
    case DRAWING_COMPARISON:
        return new ComparePlaneDXF(window, m_plot, count, &m_drawing);
    case GRAPH_DEVIATION:
        return new ErrorPlane(m_plot, count, &m_drawing);
    default:
        return nullptr;
    }
}

double MeasurementsManager::parameterValue() const
{
    return m_parameter.toDouble();
}

int MeasurementsManager::parameterCount() const
{
    return m_parameter.toInt(nullptr, 10);
}

Measurement* MeasurementsManager::createEquidistantLine(E_MEASUREMENTS kind, const QVector<double>& coefficients)
{
    switch (kind) {
    case HORIZONTAL_LINE:
        return new ClickHorizontalLine(m_plot, coefficients);
    case VERTICAL_LINE:
        return new ClickVerticalLine(m_plot, coefficients);
    case TWO_POINT_LINE:
        return new ClickDoubleLine(m_plot, coefficients);
    default:
        return nullptr;
    }
}

void MeasurementsManager::connectCurrentMeasurement()
{
    if (!m_currentMeasurement)
        return;
    if (m_keepInList)
        listMeasurement(m_currentMeasurement);
    connectMeasurement(m_currentMeasurement);
    followCurrentMeasurementState();
}

void MeasurementsManager::listMeasurement(Measurement* measurement)
{
    m_measurements.append(measurement);
    // The measurement that changed, which is the current one while it follows
    // the mouse.
    connect(measurement, &Measurement::measumentChanged, this,
            [this, measurement] { emit measurementChanged(measurement); });
    emit measurementChanged(m_measurements.last());
}

void MeasurementsManager::connectMeasurement(Measurement* measurement)
{
    connect(measurement, &Measurement::graphDataChanged, this, &MeasurementsManager::recalculateListed);
    connect(measurement, &Measurement::setNewAngleAndCenterRot, this, &MeasurementsManager::setNewAngleAndCenterRot);
    connect(measurement, &Measurement::reperPointChanged, m_reperPointController,
            &ReperPointController::reperPointChanged);
    connect(measurement, &Measurement::reperPointRemoved, m_reperPointController,
            &ReperPointController::reperPointRemoved);
    connect(measurement, &Measurement::statusText, this,
            [this, measurement](const QString& text) { showStatusText(measurement, text); });
    connect(measurement, &Measurement::measumentFinished, this,
            [this, measurement] { onMeasurementFinished(measurement); });
}

// The prompt of the measurement being placed stands until it changes it:
// the texts of the others, recalculated for a new unit or calibration, do not
// replace it.
void MeasurementsManager::showStatusText(Measurement* from, const QString& text)
{
    const bool promptStands = isPlacing() && m_statusSource == m_currentMeasurement;
    if (promptStands && from != m_currentMeasurement)
        return;
    m_statusSource = from;
    emit statusText(text);
}

// A measurement that goes unfinished takes its prompt with it: nothing waits
// for what it asked.
void MeasurementsManager::withdrawStatusText(const Measurement* measurement)
{
    if (!measurement || measurement != m_statusSource)
        return;
    m_statusSource = nullptr;
    emit statusText(QString());
}

// A measurement finishes inside its own handlers of the plot's presses and
// releases; these connections, made after them, see the outcome.
void MeasurementsManager::followCurrentMeasurementState()
{
    if (!m_plot)
        return;
    disconnect(m_afterPress);
    disconnect(m_afterRelease);
    m_afterPress = connect(m_plot, &QCustomPlot::mousePress, this, &MeasurementsManager::updateEscapeShortcut);
    m_afterRelease = connect(m_plot, &QCustomPlot::mouseRelease, this, &MeasurementsManager::updateEscapeShortcut);
}

bool MeasurementsManager::isPlacing() const
{
    return m_currentMeasurement && !m_currentMeasurement->isFinished();
}

// Escape belongs to the manager only while something is being placed, so that
// a dialog hosting the workspace still closes on it otherwise.
void MeasurementsManager::updateEscapeShortcut()
{
    if (m_escape)
        m_escape->setEnabled(isPlacing());
}

void MeasurementsManager::recalculateListed()
{
    for (Measurement* measurement : qAsConst(m_measurements))
        measurement->calculate();
    if (m_plot)
        m_plot->replot(QCustomPlot::rpRefreshHint);
}

void MeasurementsManager::onMeasurementFinished(Measurement* finished)
{
    if (!finished)
        return;
    QList<Measurement*> primitives;
    for (Measurement* measurement : qAsConst(m_measurements)) {
        if (measurement != finished && !measurement->yieldsValue())
            primitives.append(measurement);
    }
    for (Measurement* primitive : qAsConst(primitives))
        buildIntersections(primitive, finished);
    updateEscapeShortcut();
}

// A crossing that is not finite (round-off at a tangency) would be a point
// that cannot be drawn or reached: it is left out.
void MeasurementsManager::buildIntersections(Measurement* primitive, Measurement* finished)
{
    if (!primitive || !finished)
        return;
    QList<QPointF> points;
    if (const IntersectionRoutine routine = intersectionRoutine(primitive->name(), finished->name())) {
        for (const QPointF& point : routine(primitive, finished)) {
            if (Algos::isFinite(point))
                points.append(point);
        }
    }
    finished->addFixedReperPoints(points);
    if (finished->name() != measurementKind(CIRCLE)->name)
        m_reperPointController->makePointsSelectable();
    if (m_plot)
        m_plot->replot(QCustomPlot::rpRefreshHint);
}

void MeasurementsManager::cancelCurrentMeasurement()
{
    if (!isPlacing())
        return;
    abandonCurrentMeasurement();
    clearPlotSelections();
    updateEscapeShortcut();
}

// Switching range selection off and on again also resets the selection marker.
void MeasurementsManager::clearPlotSelections()
{
    if (!m_plot)
        return;
    const QCP::SelectionRectMode mode = m_plot->selectionRectMode();
    const QCP::Interactions interactions = m_plot->interactions();
    m_plot->setSelectionRectMode(QCP::srmNone);
    m_plot->setInteractions(interactions & ~(QCP::Interactions(QCP::iSelectPlottables) | QCP::iRangeSelection));
    m_plot->deselectAll();
    m_plot->setSelectionRectMode(mode);
    m_plot->setInteractions(interactions);
    m_plot->replot(QCustomPlot::rpRefreshHint);
}

void MeasurementsManager::removeMeasurement(int id)
{
    Measurement* measurement = findMeasurement(id);
    if (!measurement)
        return;
    if (!measurement->isFinished())
        withdrawStatusText(measurement);
    m_measurements.removeOne(measurement);
    if (measurement == m_currentMeasurement)
        m_currentMeasurement = nullptr;
    if (measurement->name() == measurementKind(DRAWING_COMPARISON)->name)
        emit enableButton(false);
    delete measurement;
    updateEscapeShortcut();
}

Measurement* MeasurementsManager::findMeasurement(int id) const
{
    for (Measurement* measurement : m_measurements) {
        if (measurement->id() == id)
            return measurement;
    }
    return nullptr;
}

// The new line is connected and intersected as the finished measurement it
// is; the measurement being placed, if any, stays the current one.
void MeasurementsManager::addEquidistant(int id, E_MEASUREMENTS kind, double distance)
{
    if (!isLineKind(kind))
        return;
    const auto* line = dynamic_cast<const LinePrimitive*>(findMeasurement(id));
    if (!line)
        return;
    QVector<double> coefficients = line->lineCoefficients();
    if (coefficients.size() < 2)
        return;
    coefficients[1] += distance;
    Measurement* equidistant = createEquidistantLine(kind, coefficients);
    if (!equidistant)
        return;
    listMeasurement(equidistant);
    connectMeasurement(equidistant);
    onMeasurementFinished(equidistant);
    emit measurementChanged(m_measurements.last());
    if (m_plot)
        m_plot->replot(QCustomPlot::rpRefreshHint);
}
