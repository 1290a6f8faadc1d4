#pragma once

#include "CalibrationLauncher.h"
#include "ui_UsersDialog.h"

#include <QDialog>
#include <QList>

class AbstractTrace;
class QAction;

// Edits one of the two name lists of the settings: the inspectors (their
// names go into the reports) or the probe consoles (each carries five
// calibration values). Names are renamed in place, removed with "Удалить" or
// the Delete key; inspectors are added with "Добавить". OK rewrites the list,
// keeping the current inspector or console and each console's values under
// its new name; Cancel writes nothing. In consoles mode the context menu's
// "Откалибровать" makes the selected console current and opens the probe
// calibration on the traces.
class UsersDialog : public QDialog
{
    Q_OBJECT

public:
    enum Mode { Consoles = 0, Inspectors = 1 };

    UsersDialog(int mode, const QList<AbstractTrace*>& traces, QWidget* parent,
                CalibrationLauncher launchCalibration);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setupConsoles();
    void setupInspectors();
    void addInspector();
    void saveInspectors();
    void saveConsoles();
    void calibrateSelectedConsole();

    int m_mode;
    QList<AbstractTrace*> m_traces;
    CalibrationLauncher m_launchCalibration;
    Ui::UsersDialog m_ui;
};

// The service-password prompt in front of the editor: with the right
// password the editor opens in the mode (UsersDialog::Mode) as a child of
// `parent`; a wrong, empty or cancelled password does nothing.
void openUsersDialogAfterPassword(int mode, const QList<AbstractTrace*>& traces, QWidget* parent,
                                  const CalibrationLauncher& launchCalibration);
