#include "ContourAnalisisWidget.h"

#include "ContourDisplayUnit.h"
#include "EqualScaleFit.h"
#include "MeasurementsManager.h"

#include "AbstractTrace.h"
#include "AppSettings.h"
#include "Logger.h"
#include "NumberFields.h"
#include "SettingsSaving.h"
#include "measurements/Measurement.h"
#include "measurements/math/DrawingGeometry.h"
#include "plot/AdaptiveCurve.h"
#include "plot/PlotAxisTicker.h"

#include <QDebug>
#include <QInputDialog>
#include <QMouseEvent>
#include <QShortcut>
#include <QWheelEvent>

#include <cmath>

namespace {

constexpr double kWheelNotch = 120.0;

// Kinds listed in the tree: all but the levelling ones.
bool keepsInList(int kind)
{
    return kind != LAY_FLAT && kind != LAY_FLAT_BY_TWO;
}

bool picksPoints(int kind)
{
    switch (kind) {
    case VERTICAL_DISTANCE:
    case HORIZONTAL_DISTANCE:
    case DIRECT_DISTANCE:
    case HORIZONTAL_LINE:
    case VERTICAL_LINE:
    case TWO_POINT_LINE:
    case MIDDLE_POINT:
        return true;
    default:
        return false;
    }
}

QPen curvePen(const QString& colour)
{
    return QPen(QBrush(QColor(colour)), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

void setTickLabelSuffix(QCPAxis* axis, const QString& suffix)
{
    if (const QSharedPointer<PlotAxisTicker> ticker = PlotAxisTicker::of(axis))
        ticker->setTickLabelSuffix(suffix);
}

void logInfo(const QString& text)
{
    Logger::instance().log(INFO, text);
}

// The axis rect where the next replot puts it: the plot laid out at its
// current size, as a replot does before it draws.
QRect laidOutAxisRect(PlotWidget* plot)
{
    plot->setViewport(plot->rect());
    plot->updateLayout();
    return plot->axisRect()->rect();
}

// A dialog's title bar with its usual buttons but the context help.
constexpr Qt::WindowFlags kDialogWithoutContextHelp =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

} // namespace

ContourAnalisisWidget::ContourAnalisisWidget(QWidget* parent, bool calibrationMode)
    : AnalisysWidget(QStringLiteral("КОНТУР"))
    , m_calibrationMode(calibrationMode)
{
    Q_UNUSED(parent)
    m_ui.setupUi(this);
    NumberFields::prepare(this);
    m_ui.plot->installEventFilter(this);
    hideButtonFrames();
    if (m_calibrationMode)
        enterCalibrationSettings();
    createPlot();
    m_manager = new MeasurementsManager(m_ui.plot, this);
    connectManager();
    m_ui.pushButtonErrorPlane->setEnabled(false);
    m_ui.detailNameEdit->setText(AppSettings::instance().servise.default_trace_file_name);
    connectTree();
    connectFrameActions();
    applyAxisUnit();
    if (m_calibrationMode) {
        prepareCalibrationPanel();
    } else {
        m_ui.groupBox->hide();
        m_ui.discardChangesPushButton->hide();
        m_ui.savePushButton->hide();
    }
}

// Nothing the tree or the manager emits while the window's parts go may reach
// the window any more.
ContourAnalisisWidget::~ContourAnalisisWidget()
{
    m_ui.measurementTree->disconnect(this);
    m_manager->disconnect(this);
    m_ui.plot->removeEventFilter(this);
    logInfo(QStringLiteral("Delete measurment #"));
    if (m_calibrationMode) {
        delete m_manager;
        leaveCalibrationSettings();
    } else {
        m_traces.clear();
        delete m_manager;
    }
    m_manager = nullptr;
}

void ContourAnalisisWidget::connectManager()
{
    connect(m_manager, &MeasurementsManager::enableButton, m_ui.pushButtonErrorPlane, &QWidget::setEnabled);
    connect(m_manager, &MeasurementsManager::drawingImported, this, &ContourAnalisisWidget::showImportedDrawing);
    connect(m_manager, &MeasurementsManager::measurementChanged, this,
            &ContourAnalisisWidget::updateMeasurementItem);
    connect(m_manager, &MeasurementsManager::deleteMeasurement, this, [this](Measurement* measurement) {
        if (measurement)
            deleteMeasurement(measurement->id());
    });
    connect(m_ui.measurementTree, &QTreeWidget::itemSelectionChanged, this,
            [this] { delButtonPress(m_ui.measurementTree); });
    connect(m_manager, &MeasurementsManager::statusText, this,
            [this](const QString& text) { m_ui.statusbar->showMessage(text); });
    connect(m_manager, &MeasurementsManager::setNewAngleAndCenterRot, this,
            [this](double angle, QPointF centre) { m_levelling.add(angle, centre, m_unitFactor); });
}

// Connected after the tree's selection reaches delButtonPress, so that a new
// selection moves the Delete key before the measurement is highlighted.
void ContourAnalisisWidget::connectTree()
{
    m_deleteShortcut = new QShortcut(QKeySequence(Qt::Key_Delete), this);
    m_deleteShortcut->setEnabled(false);
    connect(m_deleteShortcut, &QShortcut::activated, this, &ContourAnalisisWidget::deleteSelectedMeasurement);
    connect(m_ui.measurementTree, &MeasurementTreeWidget::deleteMeasurement, this,
            &ContourAnalisisWidget::deleteMeasurement);
    connect(m_ui.measurementTree, &MeasurementTreeWidget::equidistant, this,
            &ContourAnalisisWidget::addMeasurement);
    connect(m_ui.measurementTree, &QTreeWidget::itemSelectionChanged, this,
            &ContourAnalisisWidget::processMeasurementSelection);
}

void ContourAnalisisWidget::setTraces(const QVector<AbstractTrace*>& traces)
{
    m_traces = traces;
    m_manager->setTraces(traces);
    const AppSettings& settings = AppSettings::instance();
    for (const AbstractTrace* trace : traces) {
        auto* curve = new AdaptiveCurve(m_ui.plot->xAxis, m_ui.plot->yAxis);
        m_curves.append(curve);
        fillCurve(curve, trace);
        curve->setPen(curvePen(settings.preferenses.graph_color));
        auto* decorator = new QCPSelectionDecorator;
        decorator->setPen(curvePen(settings.preferenses.selected_graph_color));
        curve->setSelectionDecorator(decorator);
    }
    if (m_calibrationMode)
        setCalibrationTraces(traces);
    fitAxes();
}

// The display columns are in the order of their points, so the curve's t
// values are the row numbers as they come. The levelling turns the points as
// the lay-flat measurements turned the curves, so that every display unit
// shows the same levelled contour.
void ContourAnalisisWidget::fillCurve(AdaptiveCurve* curve, const AbstractTrace* trace) const
{
    QVector<QCPCurveData> points;
    {
        const LockedTraceData locked = trace->lockedData();
        const ProfileData& display = *locked.data;
        const int rows = display.size() < 2 ? 0 : std::min(display.at(0).size(), display.at(1).size());
        points.reserve(rows);
        for (int row = 0; row < rows; ++row) {
            const QPointF point = m_levelling(QPointF(display.at(0).at(row), display.at(1).at(row))) * m_unitFactor;
            points.append(QCPCurveData(row, point.x(), point.y()));
        }
    }
    curve->data()->set(points, true);
    curve->markDataChanged();
}

// The curves show the traces' data again, in the display unit and with the
// levelling in force; the measurements follow the display unit and are
// recalculated on them.
void ContourAnalisisWidget::refreshCurves()
{
    const QString colour = AppSettings::instance().preferenses.graph_color;
    for (int i = 0; i < m_traces.size() && i < m_curves.size(); ++i) {
        if (!m_curves.at(i))
            continue;
        fillCurve(m_curves.at(i), m_traces.at(i));
        m_curves.at(i)->setPen(curvePen(colour));
    }
    // All of them first: a measurement may read a point another one keeps.
    for (Measurement* measurement : m_manager->measurements())
        measurement->followDisplayUnit();
    for (Measurement* measurement : m_manager->measurements())
        measurement->calculate();
    fitAxes();
}

void ContourAnalisisWidget::applyAxisUnit()
{
    if (const auto unit = ContourDisplayUnit::fromSetting(AppSettings::instance().view.axis_unit)) {
        m_unitText = unit->suffix;
        m_unitFactor = unit->factor;
    }
    setTickLabelSuffix(m_ui.plot->xAxis, m_unitText);
    setTickLabelSuffix(m_ui.plot->yAxis, m_unitText);
    refreshCurves();
}

// Every curve of the plot counts: the traces, the reference points' pick
// curves and the measurements' own curves. The new ranges' tick labels can
// change the axis margins, so the fit is made again for the axis rect they
// leave, until the rect stays as it is (a few passes at most).
void ContourAnalisisWidget::fitAxes()
{
    applyFit(curvesFit());
}

EqualScaleFit ContourAnalisisWidget::curvesFit() const
{
    EqualScaleFit fit;
    for (int i = 0; i < m_ui.plot->curveCount(); ++i) {
        const QCPCurve* curve = m_ui.plot->curve(i);
        if (!curve)
            continue;
        for (const QCPCurveData& point : *curve->data())
            fit.include(point.key, point.value);
    }
    return fit;
}

void ContourAnalisisWidget::applyFit(const EqualScaleFit& fit)
{
    if (fit.isEmpty())
        return;
    QRect rect = laidOutAxisRect(m_ui.plot);
    for (int pass = 0; pass < 4 && rect.width() > 0 && rect.height() > 0; ++pass) {
        const EqualScaleFit::Ranges ranges = fit.ranges(rect.width(), rect.height());
        m_ui.plot->xAxis->setRange(ranges.keyLower, ranges.keyUpper);
        m_ui.plot->yAxis->setRange(ranges.valueLower, ranges.valueUpper);
        const QRect laidOut = laidOutAxisRect(m_ui.plot);
        if (laidOut == rect)
            break;
        rect = laidOut;
    }
    m_ui.plot->replot(QCustomPlot::rpRefreshHint);
}

// An imported drawing that is not wholly in the view widens it to show the
// whole drawing with everything else, so that the points the comparison asks
// for can be picked; one in the view leaves the view as the user set it.
void ContourAnalisisWidget::showImportedDrawing()
{
    const std::optional<QRectF> drawing = MeasurementMath::drawingBounds(m_manager->drawing().entities());
    const QCPRange x = m_ui.plot->xAxis->range();
    const QCPRange y = m_ui.plot->yAxis->range();
    if (!drawing
        || (x.contains(drawing->left()) && x.contains(drawing->right()) && y.contains(drawing->top())
            && y.contains(drawing->bottom())))
        return;
    EqualScaleFit fit = curvesFit();
    fit.include(drawing->left(), drawing->top());
    fit.include(drawing->right(), drawing->bottom());
    applyFit(fit);
}

void ContourAnalisisWidget::showEvent(QShowEvent* event)
{
    AnalisysWidget::showEvent(event);
    fitAxes();
}

void ContourAnalisisWidget::createPlot()
{
    m_ui.plot->setInteractions(QCP::iRangeZoom);
    connectZoomButtons();
    connectMeasurementButtons();
}

void ContourAnalisisWidget::connectZoomButtons()
{
    connect(m_ui.pushButtonPAN, &QPushButton::clicked, this, &ContourAnalisisWidget::onPanClicked);
    connect(m_ui.pushButtonResetScale, &QPushButton::clicked, this, &ContourAnalisisWidget::onResetScaleClicked);
    connect(m_ui.pushButtonScaleX, &QPushButton::clicked, this, &ContourAnalisisWidget::onScaleXClicked);
    connect(m_ui.pushButtonScaleY, &QPushButton::clicked, this, &ContourAnalisisWidget::onScaleYClicked);
    connect(m_ui.pushButtonRST, &QPushButton::clicked, this, &ContourAnalisisWidget::onResetLevellingClicked);
}

void ContourAnalisisWidget::onScaleXClicked(bool checked)
{
    if (!checked) {
        leaveWheelMode(m_scaleXWheel);
        return;
    }
    logInfo(QStringLiteral("PushButtonScaleX was clicked"));
    m_ui.plot->setInteractions(QCP::iRangeDrag);
    enterWheelMode(m_ui.pushButtonScaleX, Qt::SizeHorCursor, m_scaleXWheel, &ContourAnalisisWidget::zoomX);
}

void ContourAnalisisWidget::onScaleYClicked(bool checked)
{
    if (!checked) {
        leaveWheelMode(m_scaleYWheel);
        return;
    }
    logInfo(QStringLiteral("PushButtonScaleY was clicked"));
    m_ui.plot->setInteractions(QCP::iRangeDrag);
    enterWheelMode(m_ui.pushButtonScaleY, Qt::SizeVerCursor, m_scaleYWheel, &ContourAnalisisWidget::zoomY);
}

void ContourAnalisisWidget::onPanClicked(bool checked)
{
    if (!checked) {
        leaveWheelMode(m_panWheel);
        return;
    }
    logInfo(QStringLiteral("PushButtonPAN was clicked"));
    m_ui.plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    m_ui.plot->setSelectionRectMode(QCP::srmNone);
    enterWheelMode(m_ui.pushButtonPAN, Qt::OpenHandCursor, m_panWheel, &ContourAnalisisWidget::logPanZoom);
}

void ContourAnalisisWidget::enterWheelMode(QPushButton* button, Qt::CursorShape cursor,
                                           QMetaObject::Connection& wheel,
                                           void (ContourAnalisisWidget::*handler)(QWheelEvent*))
{
    m_ui.plot->setCursor(cursor);
    wheel = connect(m_ui.plot, &QCustomPlot::mouseWheel, this, handler);
    m_ui.actionScale->setIcon(button->icon());
    m_ui.actionScale->toggle();
    button->setCheckable(false);
}

void ContourAnalisisWidget::leaveWheelMode(QMetaObject::Connection& wheel)
{
    m_ui.plot->unsetCursor();
    disconnect(wheel);
}

void ContourAnalisisWidget::onResetScaleClicked()
{
    logInfo(QStringLiteral("PushButtonResetScale was clicked"));
    fitAxes();
    m_ui.actionScale->toggle();
}

void ContourAnalisisWidget::onResetLevellingClicked()
{
    logInfo(QStringLiteral("PushButtonRST was clicked"));
    m_levelling.clear();
    refreshCurves();
    m_ui.pushButtonlayFlat->setCheckable(true);
    m_ui.actionLayFlat->toggle();
}

void ContourAnalisisWidget::zoomX(QWheelEvent* event)
{
    const bool in = event->angleDelta().y() > 0;
    logInfo(in ? QStringLiteral("Zoom in scale on x-axis") : QStringLiteral("Zoom out scale on x-axis"));
    zoomAxes(event, Qt::Horizontal);
}

void ContourAnalisisWidget::zoomY(QWheelEvent* event)
{
    const bool in = event->angleDelta().y() > 0;
    logInfo(in ? QStringLiteral("Zoom in scale on y-axis") : QStringLiteral("Zoom out scale on y-axis"));
    zoomAxes(event, Qt::Vertical);
}

// Each curve scales its own axis; the trace curves share theirs, so with n
// traces one notch scales it n times. A wheel that reports less than a notch
// zooms by the fraction of a notch.
void ContourAnalisisWidget::zoomAxes(QWheelEvent* event, Qt::Orientation orientation)
{
    const double notches = event->angleDelta().y() / kWheelNotch;
    for (const QPointer<AdaptiveCurve>& curve : qAsConst(m_curves)) {
        if (!curve)
            continue;
        QCPAxis* axis = orientation == Qt::Horizontal ? curve->keyAxis() : curve->valueAxis();
        const double factor = std::pow(axis->axisRect()->rangeZoomFactor(axis->orientation()), notches);
        axis->scaleRange(factor, axis->range().center());
    }
    m_ui.plot->replot(QCustomPlot::rpRefreshHint);
}

// The zoom itself is the plot's own wheel zoom.
void ContourAnalisisWidget::logPanZoom(QWheelEvent* event)
{
    logInfo(event->angleDelta().y() > 0 ? QStringLiteral("Zoom in scale") : QStringLiteral("Zoom out scale"));
}

// The middle button pans in every mode; the plot never sees its presses, so
// they start no selection rectangle and no measurement.
bool ContourAnalisisWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_ui.plot)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::MiddleButton)
            break;
        m_panStart = mouse->localPos().toPoint();
        m_panning = true;
        return true;
    }
    case QEvent::MouseMove:
        if (!m_panning)
            break;
        panBy(static_cast<QMouseEvent*>(event)->localPos().toPoint());
        return true;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton)
            break;
        m_panning = false;
        return true;
    default:
        break;
    }
    return false;
}

void ContourAnalisisWidget::panBy(const QPoint& p)
{
    QCPAxis* xAxis = m_ui.plot->xAxis;
    QCPAxis* yAxis = m_ui.plot->yAxis;
    xAxis->moveRange((m_panStart.x() - p.x()) * xAxis->range().size() / m_ui.plot->width());
    yAxis->moveRange((p.y() - m_panStart.y()) * yAxis->range().size() / m_ui.plot->height());
    m_ui.plot->replot(QCustomPlot::rpRefreshHint);
    m_panStart = p;
}

void ContourAnalisisWidget::hideButtonFrames()
{
    for (QFrame* frame : {m_ui.frameScale, m_ui.frameLayFlat, m_ui.frameDistance, m_ui.frameAngle, m_ui.frameRadius,
                          m_ui.frameErrors, m_ui.frameR, m_ui.frameAddGeomCircumference, m_ui.frameAddGeomLine,
                          m_ui.frameDXF})
        frame->hide();
}

void ContourAnalisisWidget::connectFrameActions()
{
    const QVector<QPair<QAction*, QFrame*>> frames = {
        {m_ui.actionScale, m_ui.frameScale},
        {m_ui.actionLayFlat, m_ui.frameLayFlat},
        {m_ui.actionDistance, m_ui.frameDistance},
        {m_ui.actionAngle, m_ui.frameAngle},
        {m_ui.actionRadius, m_ui.frameRadius},
        {m_ui.actionErrors, m_ui.frameErrors},
        {m_ui.actionR, m_ui.frameR},
        {m_ui.actionCircumferenceAdditionalGeometry, m_ui.frameAddGeomCircumference},
        {m_ui.actionLineAdditionalGeometry, m_ui.frameAddGeomLine},
        {m_ui.actionDXF, m_ui.frameDXF},
    };
    for (const auto& [action, frame] : frames) {
        connect(action, &QAction::toggled, this,
                [this, action = action, frame = frame](bool checked) { onFrameActionToggled(action, frame, checked); });
    }
}

// At most one frame is open: opening one closes the others, and choosing a
// tool in it toggles its action off.
void ContourAnalisisWidget::onFrameActionToggled(QAction* action, QFrame* frame, bool checked)
{
    hideButtonFrames();
    if (checked) {
        resetMeasurementButtons(action);
        logInfo(action->objectName() + QStringLiteral(" open"));
        frame->show();
    } else {
        logInfo(action->objectName() + QStringLiteral(" close"));
    }
}

void ContourAnalisisWidget::connectMeasurementButtons()
{
    const Ui::ContourAnalisisWidget& ui = m_ui;
    m_measurementButtons = {
        {LAY_FLAT, ui.pushButtonlayFlat, ui.actionLayFlat},
        {LAY_FLAT_BY_TWO, ui.pushButtonLayFlatByTwo, ui.actionLayFlat},
        {HORIZONTAL_DISTANCE, ui.pushButtonHorisontalDistance, ui.actionDistance},
        {VERTICAL_DISTANCE, ui.pushButtonVerticalDistance, ui.actionDistance},
        {DIRECT_DISTANCE, ui.pushButtonDirectDistance, ui.actionDistance},
        {MEAN_HEIGHT, ui.pushButtonMeanHeight, ui.actionDistance},
        {REGULAR_ANGLE, ui.pushButtonDirectAngle, ui.actionAngle},
        {HORIZONTAL_ANGLE, ui.pushButtonHHorizonAngle, ui.actionAngle},
        {VERTICAL_ANGLE, ui.pushButtonVHorizonAngle, ui.actionAngle},
        {REGULAR_RADIUS, ui.pushButtonRadius, ui.actionRadius},
        {ARCS_RADIUS, ui.pushButtonMultiRadius, ui.actionRadius},
        {LINE_DEVIATION, ui.pushButtonRMSE, ui.actionErrors},
        {CIRCLE_DEVIATION, ui.pushButtonRadiusError, ui.actionErrors},
        {CIRCLE_DEVIATION_SPECIFIED, ui.pushButtonRDESpecified, ui.actionErrors},
        {CIRCLE_DEVIATION_FILTERED, ui.pushButtonRadiusErrorFilter, ui.actionErrors},
        {CIRCLE_DEVIATION_BY_SEGMENTS, ui.pushButtonRadiusErrorByTwoSegment, ui.actionErrors},
        {CIRCLE_DEVIATION_FILTERED_BY_SEGMENTS, ui.pushButtonRadiusErrorFilterMultypleSegments, ui.actionErrors},
        {ROUGHNESS_RA, ui.pushButtonCalculateRA, ui.actionR},
        {ROUGHNESS_RZ, ui.pushButtonCalculateRZ, ui.actionR},
        {CIRCLE, ui.pushButtonCircumSelect, ui.actionCircumferenceAdditionalGeometry},
        {CIRCLE_SPECIFIED, ui.pushButtonAGCircumSpecified, ui.actionCircumferenceAdditionalGeometry},
        {HORIZONTAL_LINE, ui.pushButtonAddGeomHorizontalLine, ui.actionLineAdditionalGeometry},
        {VERTICAL_LINE, ui.pushButtonAddGeomVerticlaLine, ui.actionLineAdditionalGeometry},
        {TWO_POINT_LINE, ui.pushButtonAddGeomDoubleClickLine, ui.actionLineAdditionalGeometry},
        {TRACE_POINT, ui.pushButtonAddGeomPoint, ui.actionLineAdditionalGeometry},
        {MIDDLE_POINT, ui.pushButtonAddGoemMiddlePoint, ui.actionLineAdditionalGeometry},
        {THREAD_MEAN_DIAMETER, ui.pushButtonAddGeomThread, ui.actionLineAdditionalGeometry},
        {MAX_POINT, ui.pushButtonFindMaxPoint, ui.actionLineAdditionalGeometry},
        {MIN_POINT, ui.pushButtonFindMinPoint, ui.actionLineAdditionalGeometry},
        {TEXT_PLACEMENT, ui.pushButtonAddGeomText, ui.actionLineAdditionalGeometry},
        {DRAWING_COMPARISON, ui.pushButtonDXFPlane, ui.actionDXF},
        {GRAPH_DEVIATION, ui.pushButtonErrorPlane, ui.actionDXF},
    };
    for (const MeasurementButton& entry : qAsConst(m_measurementButtons)) {
        connect(entry.button, &QPushButton::clicked, this,
                [this, entry](bool checked) { onMeasurementButtonClicked(entry, checked); });
    }
}

// An armed (checkable) button chooses its kind and becomes active; a click on
// an active button, or re-arming, clears the kind.
void ContourAnalisisWidget::onMeasurementButtonClicked(const MeasurementButton& entry, bool checked)
{
    if (!checked) {
        m_manager->setMeasurementType(NO_MEASUREMENT, true, false, QString());
        return;
    }
    logInfo(entry.button->objectName() + QStringLiteral("was clicked"));
    m_ui.plot->setCursor(Qt::ArrowCursor);
    const QString parameter = askForParameter(entry.kind);
    m_manager->setMeasurementType(entry.kind, keepsInList(entry.kind), picksPoints(entry.kind), parameter);
    entry.action->setIcon(entry.button->icon());
    entry.action->toggle();
    entry.button->setCheckable(false);
    m_ui.plot->setInteractions(QCP::iRangeSelection | QCP::iRangeZoom);
}

QString ContourAnalisisWidget::askForParameter(int kind)
{
    switch (kind) {
    case CIRCLE_DEVIATION_BY_SEGMENTS:
    case CIRCLE_DEVIATION_FILTERED_BY_SEGMENTS:
        return askForCount();
    case CIRCLE_DEVIATION_SPECIFIED:
    case CIRCLE_SPECIFIED:
        return askForRadius();
    default:
        return QString();
    }
}

QString ContourAnalisisWidget::askForCount()
{
    QInputDialog dialog(this, kDialogWithoutContextHelp);
    dialog.setWindowTitle(QStringLiteral("Введите число выделений"));
    dialog.setLabelText(QStringLiteral("Ввод значений"));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(2, 100);
    dialog.setIntStep(1);
    dialog.setIntValue(2);
    NumberFields::prepare(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return QString::number(dialog.intValue());
}

// The chosen radius becomes the next default.
QString ContourAnalisisWidget::askForRadius()
{
    bool accepted = false;
    const double radius = NumberFields::askForDouble(
        this, QStringLiteral("Введите радиус вписанной окружности"), QStringLiteral("Радиус в") + m_unitText,
        AppSettings::instance().preferenses.inscribed_circle_radius_measurement, 0.001, 1e12, 3, &accepted,
        kDialogWithoutContextHelp, 0.001);
    if (!accepted)
        return QString();
    {
        AppSettings& settings = AppSettings::instance();
        QMutexLocker lock(&settings.mutex());
        settings.preferenses.inscribed_circle_radius_measurement = radius;
    }
    saveSettingsOrWarn(this);
    return QString::number(radius, 'f', 3);
}

// Opening a frame re-arms every button, which ends a zoom or pan mode and
// abandons a measurement still being placed, and closes the other frames.
void ContourAnalisisWidget::resetMeasurementButtons(QObject* sender)
{
    const Ui::ContourAnalisisWidget& ui = m_ui;
    QPushButton* const buttons[] = {
        ui.pushButtonPAN, ui.pushButtonScaleX, ui.pushButtonScaleY, ui.pushButtonlayFlat,
        ui.pushButtonLayFlatByTwo, ui.pushButtonRST, ui.pushButtonHorisontalDistance,
        ui.pushButtonVerticalDistance, ui.pushButtonDirectDistance, ui.pushButtonMeanHeight,
        ui.pushButtonDirectAngle, ui.pushButtonHHorizonAngle, ui.pushButtonVHorizonAngle, ui.pushButtonRadius,
        ui.pushButtonMultiRadius, ui.pushButtonRMSE, ui.pushButtonRadiusError, ui.pushButtonRDESpecified,
        ui.pushButtonRadiusErrorFilter, ui.pushButtonRadiusErrorByTwoSegment,
        ui.pushButtonRadiusErrorFilterMultypleSegments, ui.pushButtonCalculateRA, ui.pushButtonCalculateRZ,
        ui.pushButtonAddGeomHorizontalLine, ui.pushButtonAddGeomVerticlaLine, ui.pushButtonAddGeomDoubleClickLine,
        ui.pushButtonAddGeomPoint, ui.pushButtonAddGoemMiddlePoint, ui.pushButtonFindMaxPoint,
        ui.pushButtonFindMinPoint, ui.pushButtonAddGeomThread, ui.pushButtonAddGeomText, ui.pushButtonCircumSelect,
        ui.pushButtonAGCircumSpecified, ui.pushButtonDXFPlane, ui.pushButtonErrorPlane,
    };
    for (QPushButton* button : buttons) {
        if (button->isCheckable())
            continue;
        button->click();
        button->setCheckable(true);
    }
    for (QAction* action : {ui.actionDistance, ui.actionErrors, ui.actionRadius, ui.actionAngle, ui.actionScale,
                            ui.actionLayFlat, ui.actionR, ui.actionLineAdditionalGeometry,
                            ui.actionCircumferenceAdditionalGeometry, ui.actionDXF}) {
        if (action != sender)
            action->setChecked(false);
    }
}

void ContourAnalisisWidget::updateMeasurementItem(Measurement* measurement)
{
    MeasurementTreeWidget* tree = m_ui.measurementTree;
    if (QTreeWidgetItem* row = m_measurementItems.value(measurement->id()))
        tree->updateMeasurementItem(row, measurement);
    else
        m_measurementItems.insert(measurement->id(), tree->addMeasurementItem(measurement));
    tree->collectDeviations();
}

void ContourAnalisisWidget::deleteMeasurement(int index)
{
    m_manager->removeMeasurement(index);
    delete m_measurementItems.value(index);
    m_measurementItems.remove(index);
    m_ui.plot->replot(QCustomPlot::rpRefreshHint);
    m_ui.measurementTree->collectDeviations();
}

void ContourAnalisisWidget::addMeasurement(int index, E_MEASUREMENTS type, double distance)
{
    m_manager->addEquidistant(index, type, distance);
}

void ContourAnalisisWidget::processMeasurementSelection()
{
    const QList<QTreeWidgetItem*> selected = m_ui.measurementTree->selectedItems();
    const int id = selected.isEmpty() ? 0 : selected.first()->data(0, Qt::UserRole).toInt();
    if (selected.isEmpty())
        qDebug() << "Selection empty";
    for (Measurement* measurement : m_manager->measurements())
        measurement->setHighlighted(!selected.isEmpty() && measurement->id() == id);
    m_ui.plot->replot(QCustomPlot::rpRefreshHint);
}

// The Delete key stays one shortcut: a shortcut deleted while its own
// activation runs (Delete removes the row, which changes the selection)
// would pull the ground from under that activation.
void ContourAnalisisWidget::delButtonPress(MeasurementTreeWidget* tree)
{
    const QList<QTreeWidgetItem*> selected = tree->selectedItems();
    m_deleteShortcut->setEnabled(!selected.isEmpty());
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* row = selected.first();
    {
        const QSignalBlocker block(tree);
        for (QTreeWidgetItem* other : selected.mid(1))
            other->setSelected(false);
    }
    m_deleteId = measurementIdOfRow(tree, row);
}

int ContourAnalisisWidget::measurementIdOfRow(MeasurementTreeWidget* tree, QTreeWidgetItem* row) const
{
    for (const TreeGroupRecord& group : tree->collectItems()) {
        for (const TreeItemRecord& record : group.items) {
            if (record.item == row)
                return record.id;
        }
    }
    return row->data(0, Qt::UserRole).toInt();
}

void ContourAnalisisWidget::deleteSelectedMeasurement()
{
    deleteMeasurement(m_deleteId);
}

void ContourAnalisisWidget::recalcAllMeasurements()
{
    applyAxisUnit();
    for (Measurement* measurement : m_manager->measurements()) {
        measurement->reloadSettings();
        measurement->calculate();
        updateMeasurementItem(measurement);
    }
    m_ui.plot->replot(QCustomPlot::rpRefreshHint);
}

void ContourAnalisisWidget::saveData()
{
    qDebug() << "Save countor analisis data";
}
