#pragma once

#include "AppSettings.h"
#include "ui_FastSettingsWidget.h"

#include <QWidget>

// The quick settings beside the instrument control panel: the base name of
// the automatically saved trace files, the needle position, the console with
// its calibration values, the measurement mode of the contour controller and
// the inspector (whom the settings call a controller). Every change goes into
// the settings at once (under their lock) and is saved; what the instrument
// must know goes out as signals, which the workspace connects to the control
// panel's slots of the same names. The two panels know nothing of each other.
//
// GUI thread only.
class FastSettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit FastSettingsWidget(QWidget* parent = nullptr);

    // Fills the inspector and console selectors again from the settings,
    // keeping the stored choices where they are still listed.
    void refreshSelectors();

signals:
    void setDeviceType(int type);
    void changePressingPower(MovementSettings::E_NEEDLE_PRESSING needlePressing, int pressingPorwer);
    void setMMPerRotation(double value);

public slots:
    // While a trace runs: the selectors and the file name are locked.
    void lockButtons();
    void unlockButtons();
    // The whole panel, enabled while an instrument is connected.
    void enableFastSettings(bool enable);
    // The layout for the controller type: the profile controller (2) has no
    // needle, measurement mode or console rows.
    void setInerface(int type);

private:
    void initFromSettings();
    void connectControls();
    void setSelectorsEnabled(bool enabled);
    void onControllerChanged(int index);
    void onConsoleChanged(int index);
    void onNeedlePressingChanged(int index);
    void onMmPerRotationChanged(double value);
    void onMeasurementModeChanged(int index);
    void onTraceFileNameChanged(const QString& text);
    void save();

    Ui::FastSettingsWidget m_ui;
};
