#pragma once

#include "AppSettings.h"
#include "ControlPanelState.h"
#include "Device.h"
#include "JogKeyLayout.h"
#include "TraceTypes.h"
#include "ui_DeviceControlWidget.h"

#include <QByteArray>
#include <QString>
#include <QTimer>
#include <QVector>
#include <QWidget>

#include <memory>

class DataProvider;
class KeyReceiver;
class QPushButton;

// The operator's console for the instrument: it holds the program's one
// Device, jogs the three axes, sends the scan speed, the profile filter and
// the trace length, starts and stops traces and additional traces, starts the
// calibrations of both controller families, shows the probe height on an
// upright bar and reports the link's state as status-bar texts. It follows
// the controller's reports by locking and unlocking its controls, and when a
// trace starts it hands a new DeviceDataProvider out with newTrace; the
// receiver owns the provider and destroys it before the panel goes.
//
// The jog keys are a KeyReceiver that the panel owns and maps (keyReceiver());
// the main window installs it on the application.
//
// GUI thread only; the Device's reports arrive queued.
class DeviceControlWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kStatusIntervalMs = 1000;

    explicit DeviceControlWidget(QWidget* parent = nullptr);
    ~DeviceControlWidget() override;

    Device* device() { return &m_device; }
    // Maps the jog keys by "device/alternative_managment", places the y and
    // z jog buttons accordingly and returns the receiver.
    KeyReceiver* keyReceiver();
    // Stores the profile filter, sends it, saves the settings and selects it
    // in the panel; a change of the selection runs this a second time.
    void setFilterIndex(int index);
    // The selected scan speed in millimetres per second; 0 when none.
    double currentSpeed() const;
    void applyPressingAndScaling(MovementSettings::E_NEEDLE_PRESSING needlePressing, int power);

signals:
    void newTrace(DataProvider* p, E_ANALISIS_TYPE type);
    void lockButtons();
    void unlockButtons();
    void statusBarText(QString txt);
    void deleteAllTrace();
    void setStatusProgressBar(int status, int maxValue, QString processName, QString statusName);
    void enableFastSettings(bool enable);
    void dataReset();
    void newDeviceType(int type);

public slots:
    void setDeviceType(int type);
    void changePressingPower(MovementSettings::E_NEEDLE_PRESSING needlePressing, int pressingPorwer);
    void setMMPerRotation(double value);
    void sendToTermalPrinter(QVector<QByteArray> byteArray);
    void setEnableAdditionalTraceButton(bool enabled);

private:
    void fillControls();
    void storeShownTraceLength(int stored);
    void adaptToDeviceType();
    void connectDevice();
    void connectJogButtons();
    void connectJogButton(QPushButton* button, const QString& iconName, void (Device::*move)(int), int direction);
    void lockControls();
    void unlockControls();
    void endOfOperation();
    void sendTraceSettings();
    void startRecording();
    void startAdditionalRecording();
    void record(E_ANALISIS_TYPE type);
    void stopRecording();
    void onPushButtonStopTrace();
    void onNeedCalibration();
    void onStopUnanswered();
    void onDeviceOpened();
    void onDeviceLost();
    void onSpeedChanged(int index);
    void onTraceLengthChanged(int length);
    void onBarValue(int value);
    void askReferenceRa();
    void showProgressDialog();
    void refreshStatusText();
    QPushButton* jogButton(JogKeyLayout::Button button) const;

    Device m_device;
    Ui::DeviceControlWidget m_ui;
    ControlPanelState m_state;
    std::unique_ptr<KeyReceiver> m_jogKeys;
    QTimer m_statusTimer;
};
