#include "DeviceControlWidget.h"

#include "DeviceCommands.h"
#include "DeviceDataProvider.h"
#include "DeviceStatusText.h"
#include "KeyReceiver.h"
#include "NumberFields.h"
#include "ProgressBar.h"
#include "ReferenceRaPrompt.h"
#include "SettingsAccess.h"
#include "SettingsSaving.h"

#include <QIcon>

namespace {

const QString kIconFolder = QStringLiteral(":/icons/icons/");

QIcon jogIcon(const QString& name, bool pressed)
{
    return QIcon(kIconFolder + name + (pressed ? QStringLiteral("_red.png") : QStringLiteral("_black.png")));
}

} // namespace

DeviceControlWidget::DeviceControlWidget(QWidget* parent) : QWidget(parent)
{
    m_ui.setupUi(this);
    NumberFields::prepare(this);
    m_ui.progressBar->setRange(0, 1);
    m_ui.stopTraceButton->setEnabled(false);
    fillControls();
    m_ui.additionalTracePushButton->setEnabled(false);
    connect(m_ui.speedComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &DeviceControlWidget::onSpeedChanged);
    m_ui.calibVelmarPushButton->hide();
    m_jogKeys = std::make_unique<KeyReceiver>();
    adaptToDeviceType();
    connectDevice();
}

DeviceControlWidget::~DeviceControlWidget() = default;

// Before any connection exists, so that loading the settings neither stores
// nor sends anything.
void DeviceControlWidget::fillControls()
{
    m_ui.speedComboBox->clear();
    for (auto speed = kScanSpeeds.cbegin(); speed != kScanSpeeds.cend(); ++speed)
        m_ui.speedComboBox->addItem(speed.value(), speed.key());
    const AppSettingsData s = AppSettings::instance().snapshot();
    m_ui.speedComboBox->setCurrentIndex(s.movement.current_speed);
    m_ui.filterComboBox->setCurrentIndex(s.device.spinbox_filter_length_index);
    m_ui.traceLengthSpinBox->setValue(s.device.trace_length);
    storeShownTraceLength(s.device.trace_length);
}

// A stored length that the box cannot show is stored as the box shows it:
// the link sends the stored length when it sets the controller up, and the
// controller is to trace the length the operator sees.
void DeviceControlWidget::storeShownTraceLength(int stored)
{
    const int shown = m_ui.traceLengthSpinBox->value();
    if (shown == stored)
        return;
    withSettings([shown](AppSettings& s) { s.device.trace_length = shown; });
    saveSettingsOrWarn(this);
}

void DeviceControlWidget::adaptToDeviceType()
{
    const bool profile = m_device.type() == PROFILE;
    for (QPushButton* button : {m_ui.xplusButton, m_ui.xminusButton, m_ui.yplusButton, m_ui.yminusButton,
                                m_ui.zplusButton, m_ui.zminusButton, m_ui.autoMinMaxCalibButton,
                                m_ui.calibrationPushButton})
        button->setVisible(!profile);
    for (QWidget* widget : std::initializer_list<QWidget*>{m_ui.traceLengthSpinBox, m_ui.traceLengthLabel,
                                                           m_ui.filterComboBox, m_ui.filterLabel,
                                                           m_ui.additionalTracePushButton, m_ui.calibVelmarPushButton})
        widget->setVisible(profile);
}

void DeviceControlWidget::connectDevice()
{
    connect(&m_device, &Device::deviceOpened, this, &DeviceControlWidget::onDeviceOpened);
    // Queued also when a failed write of the panel's own command reports the
    // loss: the action that sent it finishes before the panel gives up.
    connect(&m_device, &Device::deviceLost, this, &DeviceControlWidget::onDeviceLost, Qt::QueuedConnection);
    connect(&m_device, &Device::prepareTrace, this, [this] {
        if (m_state.prepare()) {
            lockControls();
            emit lockButtons();
        }
    });
    connect(&m_device, &Device::dataReset, this, &DeviceControlWidget::dataReset);
    connect(m_ui.additionalTracePushButton, &QPushButton::released, this,
            &DeviceControlWidget::startAdditionalRecording);
    connect(m_ui.startTraceButton, &QPushButton::released, this, &DeviceControlWidget::startRecording);
    connect(&m_device, &Device::pushButtonStartTrace, this, [this] { emit m_ui.startTraceButton->released(); });
    connect(m_ui.stopTraceButton, &QPushButton::released, this, &DeviceControlWidget::stopRecording);
    connect(&m_device, &Device::pushButtonStopTrace, this, &DeviceControlWidget::onPushButtonStopTrace);
    connect(&m_device, &Device::crashDevice, this, &DeviceControlWidget::endOfOperation);
    connect(&m_device, &Device::normalStatus, this, &DeviceControlWidget::endOfOperation);
    connect(&m_device, &Device::needCalibration, this, &DeviceControlWidget::onNeedCalibration);
    connect(&m_device, &Device::stopUnanswered, this, &DeviceControlWidget::onStopUnanswered);
    connectJogButtons();
    connect(m_ui.autoMinMaxCalibButton, &QPushButton::pressed, &m_device, &Device::autoMinMaxCalib);
    connect(m_ui.filterComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &DeviceControlWidget::setFilterIndex);
    connect(m_ui.traceLengthSpinBox, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &DeviceControlWidget::onTraceLengthChanged);
    connect(m_ui.calibrationPushButton, &QPushButton::released, &m_device, &Device::calibration);
    connect(m_ui.calibVelmarPushButton, &QPushButton::released, this, &DeviceControlWidget::askReferenceRa);
    connect(&m_statusTimer, &QTimer::timeout, this, &DeviceControlWidget::refreshStatusText);
    m_statusTimer.start(kStatusIntervalMs);
    connect(&m_device, &Device::deleteAllTrace, this, &DeviceControlWidget::deleteAllTrace);
    connect(&m_device, &Device::setBarValue, this, &DeviceControlWidget::onBarValue);
    connect(&m_device, &Device::newDeviceType, this, [this](int type) {
        adaptToDeviceType();
        emit newDeviceType(type);
    });
    connect(&m_device, &Device::openLoader, this, &DeviceControlWidget::showProgressDialog);
    connect(&m_device, &Device::setStatusProgressBar, this, &DeviceControlWidget::setStatusProgressBar);
}

// While a jog button is held its axis moves, and the button shows its red icon.
void DeviceControlWidget::connectJogButton(QPushButton* button, const QString& iconName,
                                           void (Device::*move)(int), int direction)
{
    connect(button, &QPushButton::pressed, this, [this, button, iconName, move, direction] {
        button->setIcon(jogIcon(iconName, true));
        (m_device.*move)(direction);
    });
    connect(button, &QPushButton::released, this, [this, button, iconName, move] {
        button->setIcon(jogIcon(iconName, false));
        (m_device.*move)(0);
    });
}

void DeviceControlWidget::connectJogButtons()
{
    connectJogButton(m_ui.xplusButton, QStringLiteral("Spine_right"), &Device::moveX, 1);
    connectJogButton(m_ui.xminusButton, QStringLiteral("Spine_left"), &Device::moveX, -1);
    connectJogButton(m_ui.yplusButton, QStringLiteral("table_fwd"), &Device::moveY, 1);
    connectJogButton(m_ui.yminusButton, QStringLiteral("table_back"), &Device::moveY, -1);
    connectJogButton(m_ui.zplusButton, QStringLiteral("kontur_up"), &Device::moveZ, 1);
    connectJogButton(m_ui.zminusButton, QStringLiteral("kontur_down"), &Device::moveZ, -1);
}

QPushButton* DeviceControlWidget::jogButton(JogKeyLayout::Button button) const
{
    switch (button) {
    case JogKeyLayout::XMinus: return m_ui.xminusButton;
    case JogKeyLayout::XPlus: return m_ui.xplusButton;
    case JogKeyLayout::YPlus: return m_ui.yplusButton;
    case JogKeyLayout::YMinus: return m_ui.yminusButton;
    case JogKeyLayout::ZPlus: return m_ui.zplusButton;
    case JogKeyLayout::ZMinus: return m_ui.zminusButton;
    case JogKeyLayout::StartTrace: return m_ui.startTraceButton;
    case JogKeyLayout::StopTrace: return m_ui.stopTraceButton;
    }
    return nullptr;
}

KeyReceiver* DeviceControlWidget::keyReceiver()
{
    const bool alternative = withSettings([](const AppSettings& s) { return s.device.alternative_managment; });
    KeyReceiver::KeyMap keys;
    const QMap<int, JogKeyLayout::Button> layout = JogKeyLayout::keyMap(alternative);
    for (auto key = layout.cbegin(); key != layout.cend(); ++key)
        keys.insert(key.key(), jogButton(key.value()));
    const QMap<JogKeyLayout::Button, JogKeyLayout::Cell> cells = JogKeyLayout::movingCells(alternative);
    for (auto cell = cells.cbegin(); cell != cells.cend(); ++cell)
        m_ui.gridLayout->addWidget(jogButton(cell.key()), cell.value().row, cell.value().column);
    m_jogKeys->setKeyMap(keys);
    return m_jogKeys.get();
}

void DeviceControlWidget::lockControls()
{
    for (QWidget* widget : std::initializer_list<QWidget*>{
             m_ui.startTraceButton, m_ui.additionalTracePushButton, m_ui.xminusButton, m_ui.xplusButton,
             m_ui.yplusButton, m_ui.yminusButton, m_ui.zminusButton, m_ui.zplusButton, m_ui.autoMinMaxCalibButton,
             m_ui.stopTraceButton, m_ui.traceLengthSpinBox, m_ui.traceLengthLabel, m_ui.filterComboBox,
             m_ui.filterLabel})
        widget->setEnabled(false);
    // The contour controller takes a new speed while it traces.
    if (m_device.type() == PROFILE) {
        m_ui.speedComboBox->setEnabled(false);
        m_ui.speedLabel->setEnabled(false);
    }
    m_ui.calibVelmarPushButton->setEnabled(false);
    m_ui.calibrationPushButton->setEnabled(false);
}

void DeviceControlWidget::unlockControls()
{
    for (QWidget* widget : std::initializer_list<QWidget*>{
             m_ui.startTraceButton, m_ui.additionalTracePushButton, m_ui.xminusButton, m_ui.xplusButton,
             m_ui.yplusButton, m_ui.yminusButton, m_ui.zminusButton, m_ui.zplusButton, m_ui.autoMinMaxCalibButton,
             m_ui.stopTraceButton, m_ui.traceLengthSpinBox, m_ui.traceLengthLabel, m_ui.filterComboBox,
             m_ui.filterLabel, m_ui.speedComboBox, m_ui.speedLabel, m_ui.calibVelmarPushButton,
             m_ui.calibrationPushButton})
        widget->setEnabled(true);
    m_state.unlock();
}

// The controller has ended what ran: a crash, the return to rest.
void DeviceControlWidget::endOfOperation()
{
    m_state.end();
    unlockControls();
    emit unlockButtons();
    m_ui.stopTraceButton->setEnabled(false);
}

void DeviceControlWidget::onNeedCalibration()
{
    endOfOperation();
    m_ui.startTraceButton->setText(QStringLiteral("Калибровка"));
    m_state.requestCalibration();
}

// The recording has ended as at a lost link, with the points received; the
// instrument stays connected.
void DeviceControlWidget::onStopUnanswered()
{
    endOfOperation();
    emit statusBarText(DeviceStatusText::stopUnanswered(m_device.portName()));
}

void DeviceControlWidget::onPushButtonStopTrace()
{
    // Does nothing while the stop button is disabled, i.e. unless the panel's own trace runs.
    m_ui.stopTraceButton->click();
    unlockControls();
    emit unlockButtons();
    m_ui.stopTraceButton->setEnabled(false);
}

void DeviceControlWidget::sendTraceSettings()
{
    m_device.setSpeed(m_ui.speedComboBox->currentIndex());
    m_device.setFilter(m_ui.filterComboBox->currentIndex());
    m_device.setTraceLength(m_ui.traceLengthSpinBox->value());
}

void DeviceControlWidget::startRecording()
{
    sendTraceSettings();
    switch (m_state.start(m_device.isOpen())) {
    case ControlPanelState::Start::Calibrate:
        m_device.calibration();
        m_ui.startTraceButton->setText(QStringLiteral("Трасса"));
        break;
    case ControlPanelState::Start::Record:
        record(m_device.type());
        break;
    case ControlPanelState::Start::SettingsOnly:
        break;
    }
}

void DeviceControlWidget::startAdditionalRecording()
{
    sendTraceSettings();
    if (m_state.startAdditional(m_device.isOpen()) == ControlPanelState::Start::Record)
        record(ADDITIONAL_TRACE);
}

void DeviceControlWidget::record(E_ANALISIS_TYPE type)
{
    lockControls();
    emit lockButtons();
    // The provider listens before the instrument is told to start, so that
    // it gets the trace's first point.
    auto* provider = new DeviceDataProvider(&m_device);
    m_device.startTrace(true);
    m_ui.stopTraceButton->setEnabled(true);
    emit newTrace(provider, type);
}

void DeviceControlWidget::stopRecording()
{
    if (!m_state.stop(m_device.isOpen()))
        return;
    // The profile controller's trace ends with its block transfer; the panel
    // stays locked until the controller reports it.
    if (m_device.type() == CONTOUR || m_device.type() == CONTOUR_PROFILE) {
        unlockControls();
        emit unlockButtons();
    }
    m_ui.stopTraceButton->setEnabled(false);
    m_device.stopTrace();
}

void DeviceControlWidget::onDeviceOpened()
{
    emit statusBarText(DeviceStatusText::connected(m_device.portName()));
    m_device.setSpeed(0);
    setEnabled(true);
    emit enableFastSettings(true);
}

// A trace or lock still on has ended with the link: the panel works again
// once the instrument is back, without waiting for a report that never comes.
void DeviceControlWidget::onDeviceLost()
{
    if (m_state.loseLink()) {
        unlockControls();
        emit unlockButtons();
        m_ui.stopTraceButton->setEnabled(false);
    }
    emit statusBarText(DeviceStatusText::notFound());
    setEnabled(false);
    emit enableFastSettings(false);
    m_device.find();
}

void DeviceControlWidget::onSpeedChanged(int index)
{
    withSettings([index](AppSettings& s) { s.movement.current_speed = index; });
    saveSettingsOrWarn(this);
    m_device.setSpeed(index);
    m_ui.speedComboBox->clearFocus();
}

void DeviceControlWidget::setFilterIndex(int index)
{
    withSettings([index](AppSettings& s) { s.device.spinbox_filter_length_index = index; });
    m_device.setFilter(index);
    saveSettingsOrWarn(this);
    m_ui.filterComboBox->setCurrentIndex(index);
}

void DeviceControlWidget::onTraceLengthChanged(int length)
{
    withSettings([length](AppSettings& s) { s.device.trace_length = length; });
    m_device.setTraceLength(length);
    saveSettingsOrWarn(this);
}

void DeviceControlWidget::onBarValue(int value)
{
    if (value > m_ui.progressBar->maximum())
        m_ui.progressBar->setMaximum(value);
    m_ui.progressBar->setValue(value);
}

void DeviceControlWidget::askReferenceRa()
{
    ReferenceRaPrompt::calibrate(this, m_device);
}

void DeviceControlWidget::showProgressDialog()
{
    ProgressBar dialog(this);
    dialog.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    connect(this, &DeviceControlWidget::setStatusProgressBar, &dialog, &ProgressBar::showStatus);
    dialog.exec();
    dialog.close();
}

void DeviceControlWidget::refreshStatusText()
{
    if (!m_device.isReaderRunning())
        return;
    if (m_device.isStopUnanswered()) {
        emit statusBarText(DeviceStatusText::stopUnanswered(m_device.portName()));
        return;
    }
    emit statusBarText(DeviceStatusText::readings(m_device.type(), m_device.portName(), m_device.consoleHeight(),
                                                  m_device.probeHeight(), m_device.xPosition()));
}

double DeviceControlWidget::currentSpeed() const
{
    return scanSpeedMmPerSecond(m_ui.speedComboBox->currentIndex());
}

void DeviceControlWidget::applyPressingAndScaling(MovementSettings::E_NEEDLE_PRESSING needlePressing, int power)
{
    m_device.changePresingPower(needlePressing, power);
    m_device.changeResolutionScaling();
}

void DeviceControlWidget::setDeviceType(int type)
{
    m_device.setType(type);
}

void DeviceControlWidget::changePressingPower(MovementSettings::E_NEEDLE_PRESSING needlePressing, int pressingPorwer)
{
    m_device.changePresingPower(needlePressing, pressingPorwer);
}

void DeviceControlWidget::setMMPerRotation(double value)
{
    m_device.setMMPerRotation(value);
}

void DeviceControlWidget::sendToTermalPrinter(QVector<QByteArray> byteArray)
{
    m_device.sendToTermalPrinter(byteArray);
}

void DeviceControlWidget::setEnableAdditionalTraceButton(bool enabled)
{
    m_ui.additionalTracePushButton->setEnabled(enabled);
}
