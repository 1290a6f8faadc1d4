#include "ProfileAnalisisWidget.h"

#include <QFileDialog>
#include <QHash>
#include <QMessageBox>
#include <QMouseEvent>
#include <QMutexLocker>

#include "AppSettings.h"
#include "Constants.h"
#include "ContourTrace.h"
#include "DataProvider.h"
#include "DesktopServices.h"
#include "DeviceControlWidget.h"
#include "DrawingConstants.h"
#include "FastSettingsWidget.h"
#include "KeyReceiver.h"
#include "LiveTraceDrawing.h"
#include "Logger.h"
#include "ProcessingChain.h"
#include "ProcessingOptionsPanel.h"
#include "ProfileReport.h"
#include "ProfileTrace.h"
#include "RecordingFolder.h"
#include "ReportRenderer.h"
#include "SettingsSaving.h"
#include "TraceFileSaving.h"
#include "TraceList.h"
#include "TraceTypes.h"
#include "plot/PlotAxisTicker.h"
#include "plot/PlotFlags.h"
#include "plot/PlotWidget.h"
#include "plot/TraceGraphsHolder.h"

namespace {

constexpr double kViewMargin = 0.05;

// The display unit of "view/axis_unit": the tick-label text and the
// holders' unit name; an unknown value has no name.
struct AxisUnit
{
    QString text;
    QString name;
};

AxisUnit currentAxisUnit()
{
    switch (AppSettings::instance().snapshot().view.axis_unit) {
    case 0:
        return {QStringLiteral(" мм"), QStringLiteral("mm")};
    case 1:
        return {QStringLiteral(" мкм"), QStringLiteral("mkm")};
    case 2:
        return {QStringLiteral(" нм"), QStringLiteral("nm")};
    default:
        return {};
    }
}

void setTickLabelSuffix(QCPAxis* axis, const QString& suffix)
{
    if (const QSharedPointer<PlotAxisTicker> ticker = PlotAxisTicker::of(axis))
        ticker->setTickLabelSuffix(suffix);
}

void setFixedTickLabels(QCPAxis* axis)
{
    axis->setNumberFormat(QStringLiteral("f"));
    axis->setNumberPrecision(3);
}

void widenRange(QCPAxis* axis, double margin)
{
    const QCPRange range = axis->range();
    const double size = range.size() * margin;
    axis->setRange(range.lower - size, range.upper + size);
}

bool isProfileType(const AbstractTrace* trace)
{
    return trace->type == PROFILE || trace->type == ADDITIONAL_TRACE;
}

void logInfo(const QString& line)
{
    Logger::instance().log(INFO, line);
}

void logToggle(const QString& prefix, bool on)
{
    logInfo(prefix + (on ? QStringLiteral(" enabled") : QStringLiteral(" disabled")));
}

// Micrometres per unit of "view/axis_unit".
double micrometresPerAxisUnit()
{
    switch (AppSettings::instance().snapshot().view.axis_unit) {
    case 0:
        return 1000;
    case 2:
        return 0.001;
    default:
        return 1;
    }
}

// Gives every holder back the visibility it had when the object was made.
class HolderVisibility
{
public:
    explicit HolderVisibility(const QMap<int, TraceGraphsHolder*>& holders)
    {
        for (TraceGraphsHolder* graphs : holders)
            m_visible.insert(graphs, graphs->isVisible());
    }
    ~HolderVisibility()
    {
        for (auto it = m_visible.cbegin(); it != m_visible.cend(); ++it)
            it.key()->setVisible(it.value());
    }
    HolderVisibility(const HolderVisibility&) = delete;
    HolderVisibility& operator=(const HolderVisibility&) = delete;

    bool wasVisible(TraceGraphsHolder* graphs) const { return m_visible.value(graphs); }

private:
    QHash<TraceGraphsHolder*, bool> m_visible;
};

AbstractTrace* newContourTrace(const AppSettingsData& settings)
{
    auto* trace = new ContourTrace;
    const CalibrationSettings& c = settings.calibration;
    trace->tool_head_radius_down = c.tool_head_radius_down;
    trace->tool_head_radius_up = c.tool_head_radius_up;
    trace->double_sided_probe_high = c.double_sided_probe_high;
    trace->needle_bias = c.needle_bias;
    trace->rack_perpendicular = c.rack_prpendicular;
    trace->roughness_ratio = c.roughness_ratio;
    trace->x_axis_compression_ratio = c.x_axis_compression_ratio;
    trace->y_axis_compression_ratio = c.y_axis_compression_ratio;
    trace->displacement_coefficient = c.displacement_coefficient;
    trace->measurement_mode = settings.device.measurement_mode;
    trace->needle_pressing = settings.movement.needle_pressing;
    return trace;
}

} // namespace

ProfileAnalisisWidget::ProfileAnalisisWidget(MainWindow* window)
    : AnalisysWidget(QStringLiteral("ПРОФИЛЬ"))
{
    Q_UNUSED(window)
    m_ui.setupUi(this);
    m_keyReceiver = m_ui.deviceControlWidget->keyReceiver();
    m_liveDrawing = new LiveTraceDrawing(m_ui.plotMain, this);
    setupPlots();
    createOptionsPanel();
    createPlot();
    applyAxisUnit();
    unlockActions();
}

// A read still running fills a trace and is told to end first; the
// recording's provider goes before the control panel's device.
ProfileAnalisisWidget::~ProfileAnalisisWidget()
{
    stopRead();
    qDeleteAll(m_holders);
}

DeviceControlWidget* ProfileAnalisisWidget::deviceControlWidget() const
{
    return m_ui.deviceControlWidget;
}

QList<AbstractTrace*> ProfileAnalisisWidget::traces() const
{
    return m_ui.traceList->traces().values();
}

QList<AbstractTrace*> ProfileAnalisisWidget::visibleTraces() const
{
    QList<AbstractTrace*> visible;
    for (AbstractTrace* trace : traces()) {
        const TraceGraphsHolder* graphs = m_holders.value(trace->id);
        if (graphs && graphs->isVisible())
            visible.append(trace);
    }
    return visible;
}

void ProfileAnalisisWidget::setupPlots()
{
    for (PlotWidget* plot : {m_ui.plotMain, m_ui.plotHist, m_ui.plotRMR})
        setupPlot(plot);
    m_ui.plotMain->yAxis2->setVisible(false);
    m_ui.plotHist->yAxis->setVisible(false);
    m_ui.plotHist->yAxis2->setVisible(false);
    m_ui.plotRMR->yAxis->setVisible(false);
    m_ui.plotRMR->yAxis2->setVisible(true);
    for (QCPAxis* axis : {m_ui.plotMain->xAxis, m_ui.plotMain->yAxis, m_ui.plotMain->yAxis2, m_ui.plotHist->yAxis,
                          m_ui.plotHist->yAxis2, m_ui.plotRMR->yAxis, m_ui.plotRMR->yAxis2})
        setFixedTickLabels(axis);
    m_ui.plotRMR->setCursor(Qt::CrossCursor);
}

// Clearing the layout takes the plot's default axes with it and leaves its
// axis shortcuts null; they name the new box's axes, which carry the
// program's ticker, so that items, snapping and unit texts find them.
void ProfileAnalisisWidget::setupPlot(PlotWidget* plot)
{
    plot->setFont(kMonospaceFont);
    plot->plotLayout()->clear();
    auto* rect = new QCPAxisRect(plot, true);
    rect->setupFullAxesBox(true);
    plot->plotLayout()->addElement(0, 0, rect);
    plot->xAxis = rect->axis(QCPAxis::atBottom);
    plot->yAxis = rect->axis(QCPAxis::atLeft);
    plot->xAxis2 = rect->axis(QCPAxis::atTop);
    plot->yAxis2 = rect->axis(QCPAxis::atRight);
    for (QCPAxis* axis : {plot->xAxis, plot->yAxis, plot->xAxis2, plot->yAxis2})
        PlotAxisTicker::install(axis);
}

void ProfileAnalisisWidget::createOptionsPanel()
{
    auto* spacer = new QWidget(m_ui.toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_ui.toolBar->addWidget(spacer);
    m_options = new ProcessingOptionsPanel(m_ui.toolBar);
    m_ui.toolBar->addWidget(m_options);
}

// The handlers of the plot tools, the side plots, the level mark and the
// hand-over to measurement connect here as well.
void ProfileAnalisisWidget::createPlot()
{
    connectPanels();
    connectTraceList();
    connectOptions();
    connectTools();
    connectSidePlots();
}

void ProfileAnalisisWidget::connectPanels()
{
    DeviceControlWidget* panel = m_ui.deviceControlWidget;
    FastSettingsWidget* fast = m_ui.fastSettingsWidget;
    connect(panel, &DeviceControlWidget::newTrace, this, [this](DataProvider* provider, E_ANALISIS_TYPE type) {
        setDataProvider(provider);
        startRead(type);
    });
    connect(panel, &DeviceControlWidget::lockButtons, this, &ProfileAnalisisWidget::lockByPanel);
    connect(panel, &DeviceControlWidget::unlockButtons, this, &ProfileAnalisisWidget::unlockByPanel);
    connect(panel, &DeviceControlWidget::enableFastSettings, fast, &FastSettingsWidget::enableFastSettings);
    connect(panel, &DeviceControlWidget::newDeviceType, this, &ProfileAnalisisWidget::applyDeviceType);
    connect(fast, &FastSettingsWidget::setDeviceType, panel, &DeviceControlWidget::setDeviceType);
    connect(fast, &FastSettingsWidget::changePressingPower, panel, &DeviceControlWidget::changePressingPower);
    connect(fast, &FastSettingsWidget::setMMPerRotation, panel, &DeviceControlWidget::setMMPerRotation);
    connect(panel, &DeviceControlWidget::statusBarText, m_ui.statusBar,
            [this](const QString& text) { m_ui.statusBar->showMessage(text); });
    connect(this, &ProfileAnalisisWidget::sendToTermalPrinter, panel, &DeviceControlWidget::sendToTermalPrinter);
}

void ProfileAnalisisWidget::connectTraceList()
{
    TraceList* list = m_ui.traceList;
    connect(list, &TraceList::traceDeleted, this, &ProfileAnalisisWidget::onTraceDeleted);
    connect(list, &TraceList::fileterChanged, this, &ProfileAnalisisWidget::rebuildProcessors);
    connect(list, &TraceList::createTrace, this, &ProfileAnalisisWidget::addJoinedTrace);
    connect(list, &TraceList::setGraphSelected, this, &ProfileAnalisisWidget::onGraphSelected);
    connect(list, &TraceList::setGraphVisible, this, &ProfileAnalisisWidget::onGraphVisible);
}

void ProfileAnalisisWidget::connectTools()
{
    connect(m_ui.actionPAN, &QAction::toggled, this, &ProfileAnalisisWidget::onPanToggled);
    connect(m_ui.actionSelectionZoom, &QAction::toggled, this, &ProfileAnalisisWidget::onSelectionZoomToggled);
    connect(m_ui.actionMarkers, &QAction::toggled, this, &ProfileAnalisisWidget::onMarkersToggled);
    connect(m_ui.actionCut, &QAction::triggered, this, &ProfileAnalisisWidget::onCutTriggered);
    connect(m_ui.actionPTS, &QAction::toggled, this, &ProfileAnalisisWidget::onPointsToggled);
    connect(m_ui.actionRLine, &QAction::toggled, this, &ProfileAnalisisWidget::onRLineToggled);
    connect(m_ui.actionRFit, &QAction::toggled, this, &ProfileAnalisisWidget::onRFitToggled);
    connect(m_ui.actionReset, &QAction::triggered, this, [this] {
        logInfo(QStringLiteral("Reset action in profileanaliswidget"));
        resetView();
    });
    connect(m_ui.actionToMeasurement, &QAction::triggered, this, &ProfileAnalisisWidget::handOverToMeasurement);
}

void ProfileAnalisisWidget::connectSidePlots()
{
    PlotWidget* main = m_ui.plotMain;
    for (PlotWidget* side : {m_ui.plotHist, m_ui.plotRMR})
        connect(main->yAxis, SIGNAL(rangeChanged(QCPRange)), side->yAxis, SLOT(setRange(QCPRange)));
    connect(main, &QCustomPlot::afterReplot, this, &ProfileAnalisisWidget::recalcParamPlots);
    connect(m_ui.plotRMR, &QCustomPlot::mousePress, this, &ProfileAnalisisWidget::onRatioPlotPressed);
}

void ProfileAnalisisWidget::connectOptions()
{
    connect(m_options, &ProcessingOptionsPanel::threadAngleChanged, this, &ProfileAnalisisWidget::rebuildProcessors);
    connect(m_options, &ProcessingOptionsPanel::medianChanged, this, &ProfileAnalisisWidget::onMedianChanged);
    connect(m_options, &ProcessingOptionsPanel::profileFilterChanged, this,
            &ProfileAnalisisWidget::onProfileFilterChanged);
    connect(m_options, &ProcessingOptionsPanel::histogramDensityChanged, this,
            &ProfileAnalisisWidget::onHistogramDensityChanged);
}

QList<QAction*> ProfileAnalisisWidget::toolActions() const
{
    return {m_ui.actionReset, m_ui.actionPAN,     m_ui.actionPTS, m_ui.actionRLine,        m_ui.actionRFit,
            m_ui.actionSelectionZoom, m_ui.actionMarkers, m_ui.actionCut, m_ui.actionToMeasurement};
}

void ProfileAnalisisWidget::lockActions()
{
    for (QAction* action : toolActions()) {
        action->setChecked(false);
        action->setEnabled(false);
    }
}

// Cut and R-fit wait for the selection mode and the R-line to come on.
void ProfileAnalisisWidget::unlockActions()
{
    for (QAction* action : toolActions())
        action->setEnabled(action != m_ui.actionCut && action != m_ui.actionRFit);
}

void ProfileAnalisisWidget::lockByPanel()
{
    lockActions();
    emit lockButtons();
    m_ui.fastSettingsWidget->lockButtons();
    m_options->setLocked(true);
}

void ProfileAnalisisWidget::unlockByPanel()
{
    unlockActions();
    emit unlockButtons();
    m_ui.fastSettingsWidget->unlockButtons();
    m_options->setLocked(false);
}

void ProfileAnalisisWidget::applyDeviceType(int type)
{
    m_ui.fastSettingsWidget->setInerface(type);
    m_options->setControllerType(type);
}

void ProfileAnalisisWidget::resetView()
{
    PlotWidget* plot = m_ui.plotMain;
    plot->rescaleAxes(true);
    widenRange(plot->xAxis, kViewMargin);
    widenRange(plot->yAxis, kViewMargin);
    plot->replot();
}

void ProfileAnalisisWidget::applyAxisUnit()
{
    const AxisUnit unit = currentAxisUnit();
    if (!unit.name.isEmpty()) {
        setTickLabelSuffix(m_ui.plotMain->xAxis, unit.text);
        setTickLabelSuffix(m_ui.plotMain->yAxis, unit.text);
        setTickLabelSuffix(m_ui.plotHist->xAxis, QStringLiteral("%"));
        setTickLabelSuffix(m_ui.plotRMR->xAxis, QStringLiteral("%"));
    }
    // Only a holder whose unit changed draws its trace again.
    for (TraceGraphsHolder* graphs : qAsConst(m_holders)) {
        const double factor = graphs->unitFactor();
        graphs->setUnit(unit.name, false);
        if (graphs->unitFactor() != factor && !isBeingRead(graphs->trace()))
            graphs->updateGraphs(graphs->rLine(), graphs->straighten());
    }
    resetView();
}

AbstractTrace* ProfileAnalisisWidget::createTrace(E_ANALISIS_TYPE type)
{
    const AppSettingsData settings = AppSettings::instance().snapshot();
    const ProcessingOptions options = m_options->options();
    const double cutOff = cutOffForIndex(settings.device.spinbox_filter_length_index);
    AbstractTrace* trace = nullptr;
    switch (type) {
    case PROFILE:
    case ADDITIONAL_TRACE: {
        auto* profile = new ProfileTrace;
        profile->speed = m_ui.deviceControlWidget->currentSpeed();
        profile->filterCutOff = cutOff;
        profile->medianWindow = options.medianWindow;
        profile->medianEnabled = options.median;
        trace = profile;
        break;
    }
    case CONTOUR:
    case CONTOUR_PROFILE:
        trace = newContourTrace(settings);
        break;
    default:
        return nullptr;
    }
    m_ui.traceList->registerTrace(trace);
    trace->setType(type);
    trace->creationTime = QDateTime::currentDateTime();
    QStringList taken;
    for (const AbstractTrace* listed : traces())
        taken << listed->filePath();
    trace->setFilePath(RecordingFolder::filePath(RecordingFolder::prepare(), settings.servise.default_trace_file_name,
                                                 trace->creationTime, taken));
    trace->controllerName = settings.current_controller_name.toStdString();
    ProcessingChain::appendFirstChain(*trace, options, cutOff);
    return trace;
}

void ProfileAnalisisWidget::dataReadStarted()
{
    const auto* provider = qobject_cast<const DataProvider*>(sender());
    AbstractTrace* trace = provider ? provider->trace() : nullptr;
    if (!trace)
        return;
    // A trace read from a file is that file's, from its row's name on,
    // whether or not the reader has come to the header yet.
    if (!provider->isRecording())
        trace->setFilePath(provider->name());
    lockActions();
    m_ui.traceList->uncheckProfileTraces();
    emit lockButtons();
    m_ui.traceList->setBusyTrace(trace);
    TraceGraphsHolder* graphs = createHolder(trace);
    m_readInProgress = true;
    listNewTrace(trace);
    m_liveDrawing->start(graphs);
}

void ProfileAnalisisWidget::dataBatchReady(int from, int count)
{
    AbstractTrace* trace = senderTrace();
    if (trace && m_liveDrawing->isDrawing() && m_holders.value(trace->id) == m_liveDrawing->holder())
        m_liveDrawing->append(from, count);
}

// The provider has emptied the trace already, before the restarted
// transfer's first rows; only the curve is left to empty.
void ProfileAnalisisWidget::dataReset()
{
    AbstractTrace* trace = senderTrace();
    if (trace && m_liveDrawing->isDrawing() && m_holders.value(trace->id) == m_liveDrawing->holder())
        m_liveDrawing->clear();
}

// The read goes on to its finish, which the provider sends next.
void ProfileAnalisisWidget::dataReadError(QString error)
{
    QMessageBox::warning(this, QStringLiteral("Error"), error);
}

void ProfileAnalisisWidget::dataReadFinished()
{
    auto* provider = qobject_cast<DataProvider*>(sender());
    AbstractTrace* trace = provider ? provider->trace() : nullptr;
    if (!trace)
        return;
    const bool recording = provider->isRecording();
    if (recording)
        saveRecording(trace);
    if (m_liveDrawing->holder() == m_holders.value(trace->id))
        m_liveDrawing->stop();
    if (isProfileType(trace))
        listAdditionalTracesOfFile(trace);
    drawFinishedTrace(trace);

    // A recording started while a file was read is under way already.
    AbstractTrace* next = pendingTraceBesides(provider);
    m_readInProgress = next != nullptr;
    m_ui.traceList->setBusyTrace(next);
    settingsChanged();
    if (recording)
        standardiseCutOff(trace);
    resetView();
    if (!next) {
        unlockActions();
        emit unlockButtons();
    }
    m_ui.traceList->selectTrace(trace->id);
}

void ProfileAnalisisWidget::saveData()
{
    if (m_holders.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Ошибка сохранения трассы"),
                             QStringLiteral("Нет трассы для сохранения, для начала откройте или измерьте трассу"));
        return;
    }
    const QString baseName = AppSettings::instance().snapshot().servise.default_trace_file_name;
    for (AbstractTrace* trace : traces()) {
        if (trace->type == ADDITIONAL_TRACE)
            continue;
        const QString proposed = baseName + QDateTime::currentDateTime().toString(QStringLiteral("_yyyy_MM_dd_HH_mm_ss"));
        const QString path =
            QFileDialog::getSaveFileName(this, trace->name(), proposed, QStringLiteral("Text files (*.txt);"));
        if (path.isEmpty())
            continue;
        // A trace whose file could not be written keeps the file it had.
        if (writeTraceFileOrWarn(this, path, trace))
            trace->setFilePath(path);
    }
}

// One report per visible trace; cancelling a file dialog ends the printing.
void ProfileAnalisisWidget::printReport(QWidget* parent)
{
    if (traces().isEmpty()) {
        QMessageBox::warning(parent, QStringLiteral("Ошибка печати отчёта"),
                             QStringLiteral("Нет трасс для сохранения отчёта"));
        return;
    }
    for (AbstractTrace* trace : traces()) {
        const TraceGraphsHolder* graphs = m_holders.value(trace->id);
        if (isReportedWithItsMainTrace(trace) || !graphs || !graphs->isVisible())
            continue;
        const QString baseName = AppSettings::instance().snapshot().servise.default_trace_file_name;
        const QString chosen = QFileDialog::getSaveFileName(
            parent, QStringLiteral("Сохранить отчет"), ProfileReport::proposedName(baseName, QDateTime::currentDateTime()));
        if (chosen.isEmpty())
            return;
        const QString output = ProfileReport::outputPath(chosen);
        const nlohmann::json data = ProfileReport::data(trace, m_ui.traceList->extraArgs);
        const QVector<QPixmap> images{reportImage(trace)};
        if (generateReport(parent, ProfileReport::templatePath(trace->type), output,
                           ProfileReport::referenceDocPath(trace->type), images, data))
            DesktopServices::openPath(output);
    }
}

bool ProfileAnalisisWidget::isReportedWithItsMainTrace(const AbstractTrace* trace) const
{
    const auto* profile = dynamic_cast<const ProfileTrace*>(trace);
    if (trace->type != ADDITIONAL_TRACE || !profile || !profile->parentTrace)
        return false;
    const TraceGraphsHolder* main = m_holders.value(profile->parentTrace->id);
    return main && main->isVisible();
}

// The main plot with the trace alone, or a profile trace with those of its
// additional traces that were shown.
QPixmap ProfileAnalisisWidget::reportImage(const AbstractTrace* trace)
{
    const HolderVisibility remembered(m_holders);
    for (TraceGraphsHolder* graphs : qAsConst(m_holders))
        graphs->setVisible(false);
    if (TraceGraphsHolder* graphs = m_holders.value(trace->id))
        graphs->setVisible(true);
    const auto* profile = dynamic_cast<const ProfileTrace*>(trace);
    if (profile && trace->type == PROFILE) {
        for (const ProfileTrace* additional : qAsConst(profile->additionalTraces)) {
            if (TraceGraphsHolder* graphs = m_holders.value(additional->id))
                graphs->setVisible(remembered.wasVisible(graphs));
        }
    }
    PlotWidget* plot = m_ui.plotMain;
    return plot->toPixmap(plot->width(), plot->height(), 1.0);
}

void ProfileAnalisisWidget::addJoinedTrace(QVector<QVector<double>> data)
{
    if (data.size() < 2 || data[0].size() != data[1].size())
        return;
    AbstractTrace* trace = createTrace(CONTOUR);
    trace->addPoints({data[0], data[1], QVector<double>(data[0].size(), 0.0)});
    TraceGraphsHolder* graphs = createHolder(trace);
    m_ui.traceList->addTrace(trace);
    graphs->updateGraphs(m_ui.actionRLine->isChecked(), m_ui.actionRFit->isChecked());
    graphs->showPoints(m_ui.actionPTS->isChecked());
    resetView();
}

// The trace being read is left to its reader, which runs its chain as it
// was when the read began; it takes the current chain once its read is over.
void ProfileAnalisisWidget::rebuildProcessors()
{
    if (const DataProvider* provider = dataProvider(); provider && provider->isRunning())
        m_outdatedChain = provider->trace();
    for (TraceGraphsHolder* graphs : qAsConst(m_holders)) {
        AbstractTrace* trace = graphs->trace();
        if (isBeingRead(trace)) {
            m_outdatedChain = trace;
            continue;
        }
        ProcessingChain::replaceChain(*trace, m_options->options());
        trace->reprocess();
        graphs->updateGraphs(graphs->rLine(), graphs->straighten());
    }
    resetView();
}

void ProfileAnalisisWidget::settingsChanged()
{
    const AppSettingsData settings = AppSettings::instance().snapshot();
    DeviceControlWidget* panel = m_ui.deviceControlWidget;
    panel->applyPressingAndScaling(settings.movement.needle_pressing, settings.device.power_pressing);
    m_ui.fastSettingsWidget->refreshSelectors();
    m_ui.traceList->recalculateParameters();
    applyAxisUnit();
    m_keyReceiver = panel->keyReceiver();
    uploadCalibrationIfAsked();
}

// The flag stays set until an upload went out, so that a failed one is
// tried again at the next settings change.
void ProfileAnalisisWidget::uploadCalibrationIfAsked()
{
    if (!AppSettings::instance().snapshot().calibration.upload_device_settings)
        return;
    if (!m_ui.deviceControlWidget->device()->writeParameters()) {
        Logger::instance().log(WARNING, "The calibration parameters could not be sent to the instrument; "
                                        "they are sent again at the next settings change");
        return;
    }
    {
        AppSettings& settings = AppSettings::instance();
        QMutexLocker lock(&settings.mutex());
        settings.calibration.upload_device_settings = false;
    }
    saveSettingsOrWarn(this);
}

void ProfileAnalisisWidget::recalcParamPlots()
{
    if (m_readInProgress)
        return;
    const bool rLine = m_ui.actionRLine->isChecked();
    const bool straighten = m_ui.actionRFit->isChecked();
    const bool points = m_ui.actionPTS->isChecked();
    bool distributionChanged = false;
    for (TraceGraphsHolder* graphs : qAsConst(m_holders)) {
        graphs->refreshGraphs(rLine, straighten);
        graphs->showPoints(points);
        if (graphs->isVisible() && graphs->refreshHeightDistribution())
            distributionChanged = distributionChanged || isProfileType(graphs->trace());
    }
    // "Dp" reads the height distribution just stored in the trace.
    if (distributionChanged)
        m_ui.traceList->updateDpParameter();
    for (PlotWidget* side : {m_ui.plotHist, m_ui.plotRMR}) {
        side->xAxis->rescale(true);
        side->replot();
    }
}

// The pressed height, in micrometres, becomes every profile trace's level,
// and their level lines go to it, whether or not the press hit a curve: the
// line shows the level "Dp" is computed with. A contour trace takes no level;
// its curve, when hit, is marked at the pressed height all the same.
void ProfileAnalisisWidget::onRatioPlotPressed(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    PlotWidget* plot = m_ui.plotRMR;
    const QPoint pixel = event->pos();
    const double level = plot->yAxis->pixelToCoord(pixel.y()) * micrometresPerAxisUnit();
    const QCPAbstractPlottable* hit = plot->plottableAt(pixel, true);
    const TraceGraphsHolder* hitGraphs =
        hit && hit->realVisibility() ? TraceGraphsHolder::fromPlottable(hit) : nullptr;
    for (AbstractTrace* trace : traces()) {
        auto* profile = dynamic_cast<ProfileTrace*>(trace);
        const bool takesLevel = profile && isProfileType(trace);
        if (takesLevel)
            profile->level = level;
        TraceGraphsHolder* graphs = m_holders.value(trace->id);
        if (graphs && (takesLevel || graphs == hitGraphs))
            graphs->markLevel(level);
    }
    m_ui.plotMain->replot();
    m_ui.traceList->updateDpParameter();
}

ProfileAnalisisWidget::MeasurementCheck ProfileAnalisisWidget::checkTracesForMeasurement() const
{
    MeasurementCheck check;
    if (m_holders.isEmpty()) {
        check.error = QStringLiteral("Нет трассы для измерения.");
        return check;
    }
    const QList<AbstractTrace*> visible = visibleTraces();
    if (visible.isEmpty()) {
        check.error =
            QStringLiteral("Нет видимых трасс, сделайте хотя бы одну трассу видимой для дальнейших измерений");
        return check;
    }
    for (AbstractTrace* trace : visible) {
        if (trace->type != visible.first()->type) {
            check.error = QStringLiteral("Нельзя проводить измерения разных типов трасс");
            check.critical = true;
            return check;
        }
    }
    check.traces = visible.toVector();
    return check;
}

// No jog key moves the instrument while a box of the checks is open.
void ProfileAnalisisWidget::handOverToMeasurement()
{
    logInfo(QStringLiteral("actionToMeasurement was pressed"));
    setJogKeysBlocked(true);
    const MeasurementCheck check = checkTracesForMeasurement();
    if (check.critical)
        QMessageBox::critical(this, QStringLiteral("Ошибка"), check.error);
    else if (!check.error.isEmpty())
        QMessageBox::warning(this, QStringLiteral("Ошибка"), check.error);
    setJogKeysBlocked(false);
    if (check.error.isEmpty())
        emit readyForMeasurment(check.traces);
}

QList<TraceGraphsHolder*> ProfileAnalisisWidget::visibleHolders() const
{
    QList<TraceGraphsHolder*> visible;
    for (TraceGraphsHolder* graphs : qAsConst(m_holders)) {
        if (graphs->isVisible())
            visible.append(graphs);
    }
    return visible;
}

void ProfileAnalisisWidget::rescaleToVisible()
{
    m_ui.plotMain->rescaleAxes(true);
    m_ui.plotMain->replot();
}

void ProfileAnalisisWidget::onPanToggled(bool on)
{
    PlotWidget* plot = m_ui.plotMain;
    logToggle(QStringLiteral("actionPAN in profilewidget"), on);
    if (!on) {
        plot->unsetCursor();
        return;
    }
    m_ui.actionMarkers->setChecked(false);
    m_ui.actionSelectionZoom->setChecked(false);
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    plot->setSelectionRectMode(QCP::srmNone);
    plot->setCursor(Qt::OpenHandCursor);
}

void ProfileAnalisisWidget::onSelectionZoomToggled(bool on)
{
    logToggle(QStringLiteral("actionSelectionZoom in profileAyaliswidget"), on);
    if (on) {
        m_ui.actionPAN->setChecked(false);
        m_ui.actionMarkers->setChecked(false);
    }
    m_ui.plotMain->setSelectionRectMode(on ? QCP::srmZoom : QCP::srmNone);
}

void ProfileAnalisisWidget::onMarkersToggled(bool on)
{
    PlotWidget* plot = m_ui.plotMain;
    logToggle(QStringLiteral("actionMarkers in profileAyaliswidget"), on);
    if (!on) {
        plot->setInteractions(QCP::iSelectPlottables);
        plot->setSelectionRectMode(QCP::srmNone);
        m_ui.actionCut->setEnabled(false);
        return;
    }
    m_ui.actionCut->setEnabled(true);
    m_ui.actionPAN->setChecked(false);
    m_ui.actionSelectionZoom->setChecked(false);
    plot->setInteractions(QCP::iSelectPlottables | QCP::iKeepSelections | QCP::iRangeSelection);
    plot->setSelectionRectMode(QCP::srmSelectRealtime);
    for (TraceGraphsHolder* graphs : qAsConst(m_holders)) {
        if (graphs->profileCurve())
            graphs->profileCurve()->setSelectable(QCP::stDataRange);
    }
}

// Hidden traces keep all their points: a range selected on a trace that
// was hidden afterwards is not what the user sees being cut.
void ProfileAnalisisWidget::onCutTriggered()
{
    logInfo(QStringLiteral("actionCut in profileAyaliswidget"));
    for (TraceGraphsHolder* graphs : visibleHolders())
        graphs->cropToSelection();
    m_ui.traceList->recalculateParameters();
    m_ui.plotMain->deselectAll();
    rescaleToVisible();
}

void ProfileAnalisisWidget::onPointsToggled(bool on)
{
    logToggle(QStringLiteral("actionPTS in profileAyaliswidget"), on);
    for (TraceGraphsHolder* graphs : qAsConst(m_holders))
        graphs->showPoints(on);
    m_ui.plotMain->replot();
}

void ProfileAnalisisWidget::onRLineToggled(bool on)
{
    logToggle(QStringLiteral("actionRLine in profileAyaliswidget"), on);
    if (!on)
        m_ui.actionRFit->setChecked(false);
    for (TraceGraphsHolder* graphs : visibleHolders()) {
        graphs->updateGraphs(on, false);
        m_ui.actionRFit->setEnabled(on);
    }
    m_ui.plotMain->replot();
}

void ProfileAnalisisWidget::onRFitToggled(bool on)
{
    logToggle(QStringLiteral("actionRFit in profileAyaliswidget"), on);
    for (TraceGraphsHolder* graphs : visibleHolders())
        graphs->updateGraphs(true, on);
    rescaleToVisible();
}

// The list deselects every trace before it selects one: the replots of a
// selection are queued into one.
void ProfileAnalisisWidget::onGraphSelected(int traceId, bool selected)
{
    if (TraceGraphsHolder* graphs = m_holders.value(traceId)) {
        if (selected)
            graphs->highlight();
        else
            graphs->unhighlight();
    }
    m_ui.plotMain->replot(QCustomPlot::rpQueuedReplot);
}

void ProfileAnalisisWidget::onGraphVisible(int traceId, bool visible)
{
    if (TraceGraphsHolder* graphs = m_holders.value(traceId)) {
        graphs->setVisible(visible);
        resetView();
    }
}

QWidget* ProfileAnalisisWidget::questionParent() const
{
    return const_cast<ProfileAnalisisWidget*>(this);
}

void ProfileAnalisisWidget::setJogKeysBlocked(bool blocked)
{
    if (m_keyReceiver)
        m_keyReceiver->blockSignals(blocked);
}

void ProfileAnalisisWidget::selectCutOffIndex(int index)
{
    m_ui.deviceControlWidget->setFilterIndex(index);
}

AbstractTrace* ProfileAnalisisWidget::senderTrace() const
{
    const auto* provider = qobject_cast<const DataProvider*>(sender());
    return provider ? provider->trace() : nullptr;
}

TraceGraphsHolder* ProfileAnalisisWidget::createHolder(AbstractTrace* trace)
{
    auto* graphs = new TraceGraphsHolder(this, trace, m_ui.plotMain, m_ui.plotHist, m_ui.plotRMR);
    m_holders.insert(trace->id, graphs);
    graphs->setUnit(currentAxisUnit().name, false);
    return graphs;
}

// An additional recording belongs to the last main trace of the list when
// that is a profile trace; otherwise it is a main profile trace of its own.
void ProfileAnalisisWidget::listNewTrace(AbstractTrace* trace)
{
    TraceList* list = m_ui.traceList;
    if (trace->type == ADDITIONAL_TRACE) {
        const AbstractTrace* main = list->lastMainTrace();
        if (main && main->type == PROFILE && dynamic_cast<const ProfileTrace*>(main)) {
            list->addAdditionalTrace(trace, false);
            return;
        }
        trace->setType(PROFILE);
    }
    list->addTrace(trace);
}

// The additional traces of a profile file, listed hidden under their main trace.
void ProfileAnalisisWidget::listAdditionalTracesOfFile(AbstractTrace* trace)
{
    auto* profile = dynamic_cast<ProfileTrace*>(trace);
    if (!profile)
        return;
    for (ProfileTrace* additional : qAsConst(profile->additionalTraces)) {
        if (m_ui.traceList->traces().contains(additional->id))
            continue;
        additional->applyPostProcessors();
        TraceGraphsHolder* graphs = createHolder(additional);
        graphs->updateGraphs(m_ui.actionRLine->isChecked(), m_ui.actionRFit->isChecked());
        graphs->showPoints(m_ui.actionPTS->isChecked());
        m_ui.traceList->addAdditionalTrace(additional, true);
        graphs->setVisible(false);
    }
}

// The whole trace in its final form; the live batches may have left the
// last rows out. A trace whose options changed during its read takes the
// current chain now.
void ProfileAnalisisWidget::drawFinishedTrace(AbstractTrace* trace)
{
    TraceGraphsHolder* graphs = m_holders.value(trace->id);
    if (m_outdatedChain == trace) {
        m_outdatedChain = nullptr;
        ProcessingChain::replaceChain(*trace, m_options->options());
        trace->reprocess();
    }
    if (!graphs)
        return;
    graphs->updateGraphs(m_ui.actionRLine->isChecked(), m_ui.actionRFit->isChecked());
    graphs->showPoints(m_ui.actionPTS->isChecked());
}

AbstractTrace* ProfileAnalisisWidget::pendingTraceBesides(const DataProvider* provider) const
{
    const DataProvider* current = dataProvider();
    return current && current != provider ? current->trace() : nullptr;
}

// Writes the recorded trace, or for an additional trace the file of its main
// trace with all its additional traces.
void ProfileAnalisisWidget::saveRecording(AbstractTrace* trace)
{
    AbstractTrace* owner = trace;
    if (const auto* profile = dynamic_cast<const ProfileTrace*>(trace);
        profile && trace->type == ADDITIONAL_TRACE && profile->parentTrace)
        owner = profile->parentTrace;
    writeTraceFileOrWarn(this, owner->filePath(), owner);
}

// A cut-off changed to the standard one is written to the recording's file
// and computed with, as the list shows it.
void ProfileAnalisisWidget::standardiseCutOff(AbstractTrace* trace)
{
    const auto* profile = dynamic_cast<const ProfileTrace*>(trace);
    TraceGraphsHolder* graphs = m_holders.value(trace->id);
    if (!profile || !graphs)
        return;
    const double cutOff = profile->filterCutOff;
    graphs->adjustFilterToStandard();
    if (profile->filterCutOff == cutOff)
        return;
    saveRecording(trace);
    m_ui.traceList->recalculateParameters();
}

bool ProfileAnalisisWidget::isBeingRead(const AbstractTrace* trace) const
{
    return m_readInProgress && trace == m_ui.traceList->busyTrace();
}

void ProfileAnalisisWidget::onTraceDeleted(int traceId)
{
    delete m_holders.take(traceId);
    for (TraceGraphsHolder* graphs : qAsConst(m_holders)) {
        if (!isBeingRead(graphs->trace()))
            graphs->updateGraphs(graphs->rLine(), graphs->straighten());
    }
    resetView();
    if (m_ui.traceList->traces().isEmpty())
        m_ui.deviceControlWidget->setEnableAdditionalTraceButton(false);
}

void ProfileAnalisisWidget::onMedianChanged(bool on, int window)
{
    m_ui.traceList->setMedianFilter(on, window);
    rebuildProcessors();
}

void ProfileAnalisisWidget::onProfileFilterChanged()
{
    rebuildProcessors();
    m_ui.traceList->updateDpParameter();
}

void ProfileAnalisisWidget::onHistogramDensityChanged(int density)
{
    for (TraceGraphsHolder* graphs : qAsConst(m_holders))
        graphs->setHistogramDensity(density);
    m_ui.plotMain->replot();
    m_ui.traceList->updateDpParameter();
}
