#pragma once

#include <QDialog>

class Device;
class QDoubleSpinBox;

// Asks for the reference roughness Ra of the standard before the profile
// controller calibrates on it: "Введите эталонное Ra:", a number in
// micrometres (0.001 to 99.999, three decimals) filled with
// "calibration/calibration_Ra_value", "Принять" (accepts) and "Отмена"
// (rejects). The dialog only hands the value back; calibrate() is what the
// control panel and the settings dialog run.
class ReferenceRaPrompt : public QDialog
{
    Q_OBJECT

public:
    explicit ReferenceRaPrompt(QWidget* parent);

    double value() const;

    // Runs the prompt modally over `parent`. When accepted: the value goes to
    // the debug output and into "calibration/calibration_Ra_value", the
    // settings are saved (a failure is shown once), and the device starts its
    // calibration, which sends the value to the profile controller. Cancelled:
    // nothing is stored or sent. Returns whether it was accepted.
    static bool calibrate(QWidget* parent, Device& device);

private:
    QDoubleSpinBox* m_value;
};
