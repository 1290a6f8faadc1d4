#pragma once

#include "AppSettings.h"
#include "CalibrationLauncher.h"
#include "ui_SettingsDialog.h"

#include <QDialog>
#include <QList>

class AbstractTrace;
class Device;

// The dialog "Параметры": the instrument, display, standardisation and
// service settings, written when accepted, and the door to the service tools
// (the editors of inspectors and consoles and the probe calibration behind
// the service password, the parameter choice, the serial terminal). The
// colours are put into the settings at once and saved with the next save;
// the organisation name, with the developer mode it switches, is saved at
// each edit.
//
// `device` is the instrument link of the control panel (the profile
// controller's calibration and the terminal use it); `traces` are the visible
// traces of the profile workspace, on which a contour probe is calibrated;
// `launchCalibration` opens the contour calibration window.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    SettingsDialog(QWidget* parent, const QList<AbstractTrace*>& traces, Device& device,
                   CalibrationLauncher launchCalibration);

    void loadSettings();
    void setDeveloperControlsVisible(bool visible);
    void startCalibration();

private:
    void connectHandlers();
    void adaptToDeviceType();
    void acceptSettings();
    void storeColor(QString PreferenceSettings::*field, const QColor& color);
    void changeFactoryName(const QString& text);
    void calibrateContourProbe();
    void openParamsDialog();
    void openTerminal();

    QList<AbstractTrace*> m_traces;
    Device& m_device;
    CalibrationLauncher m_launchCalibration;
    Ui::SettingsDialog m_ui;
};
