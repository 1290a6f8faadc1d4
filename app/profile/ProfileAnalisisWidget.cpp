#include "ProfileAnalisisWidget.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QMutexLocker>

#include "AppSettings.h"
#include "Constants.h"
#include "ContourTrace.h"
#include "DataProvider.h"
#include "DeviceControlWidget.h"
#include "DrawingConstants.h"
#include "FastSettingsWidget.h"
#include "KeyReceiver.h"
#include "LiveTraceDrawing.h"
#include "Logger.h"
#include "ProcessingChain.h"
#include "ProcessingOptionsPanel.h"
#include "ProfileTrace.h"
#include "RecordingFolder.h"
#include "SettingsSaving.h"
#include "TraceFileSaving.h"
#include "TraceList.h"
#include "TraceTypes.h"
#include "plot/PlotAxisTicker.h"
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
        axis->setTicker(QSharedPointer<PlotAxisTicker>::create());
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
    PlotWidget* main = m_ui.plotMain;
    for (PlotWidget* side : {m_ui.plotHist, m_ui.plotRMR})
        connect(main->yAxis, SIGNAL(rangeChanged(QCPRange)), side->yAxis, SLOT(setRange(QCPRange)));
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

void ProfileAnalisisWidget::printReport(QWidget* parent)
{
    Q_UNUSED(parent)
    Logger::instance().log(WARNING, "The profile report cannot be written yet");
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
