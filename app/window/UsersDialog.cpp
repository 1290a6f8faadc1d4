#include "UsersDialog.h"

#include "AppSettings.h"
#include "ServiceCodes.h"
#include "SettingsSaving.h"

#include <QAction>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMutexLocker>

#include <algorithm>

UsersDialog::UsersDialog(int mode, const QList<AbstractTrace*>& traces, QWidget* parent,
                         CalibrationLauncher launchCalibration)
    : QDialog(parent), m_mode(mode), m_traces(traces), m_launchCalibration(std::move(launchCalibration))
{
    m_ui.setupUi(this);
    if (m_mode == Consoles) {
        Q_ASSERT_X(m_launchCalibration, "UsersDialog", "the consoles editor needs the calibration launcher");
        auto* calibrate = new QAction(QStringLiteral("Откалибровать"), this);
        connect(calibrate, &QAction::triggered, this, &UsersDialog::calibrateSelectedConsole);
        m_ui.listWidget->addContextAction(calibrate);
        setupConsoles();
    } else {
        setupInspectors();
    }
}

void UsersDialog::setupConsoles()
{
    setWindowTitle(QStringLiteral("Консоли"));
    m_ui.addPushButton->hide();
    const QStringList names = AppSettings::instance().snapshot().console_names;
    for (const QString& name : names)
        m_ui.listWidget->addNamedItem(name);
    connect(this, &QDialog::accepted, this, &UsersDialog::saveConsoles);
}

void UsersDialog::setupInspectors()
{
    const QStringList names = AppSettings::instance().snapshot().controllers;
    for (const QString& name : names)
        m_ui.listWidget->addNamedItem(name);
    connect(m_ui.addPushButton, &QPushButton::released, this, &UsersDialog::addInspector);
    connect(this, &QDialog::accepted, this, &UsersDialog::saveInspectors);
}

void UsersDialog::addInspector()
{
    m_ui.listWidget->addEditableItem(QStringLiteral("Новый контролёр"));
}

void UsersDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete) {
        m_ui.listWidget->removeCurrentItem();
        return;
    }
    QDialog::keyPressEvent(event);
}

// The current inspector follows its item's new name. It is compared with the
// name current when saving starts, so that names swapped between two items
// do not pass the current inspector on twice.
void UsersDialog::saveInspectors()
{
    AppSettings& settings = AppSettings::instance();
    {
        QMutexLocker lock(&settings.mutex());
        const QString current = settings.current_controller_name;
        bool currentFound = false;
        settings.controllers.clear();
        for (const EditedName& row : m_ui.listWidget->editedNames()) {
            settings.controllers.append(row.name);
            if (!currentFound && row.openingName == current) {
                settings.current_controller_name = row.name;
                currentFound = true;
            }
        }
        if (settings.controllers.isEmpty())
            settings.current_controller_name = QStringLiteral("No name");
    }
    saveSettingsOrWarn(parentWidget());
}

// Each console keeps the values it had when the editor opened under its new
// name; an item added since gets the values of a new console.
void UsersDialog::saveConsoles()
{
    AppSettings& settings = AppSettings::instance();
    {
        QMutexLocker lock(&settings.mutex());
        const QVector<EditedName> rows = m_ui.listWidget->editedNames();
        const QString current = settings.current_console;
        settings.consoles = calibrationsOfEditedConsoles(rows, settings.consoles);
        settings.console_names.clear();
        for (const EditedName& row : rows)
            settings.console_names.append(row.name);
        const auto currentRow = std::find_if(rows.begin(), rows.end(),
                                             [&](const EditedName& row) { return row.openingName == current; });
        if (currentRow != rows.end())
            settings.current_console = currentRow->name;
        if (settings.console_names.isEmpty())
            settings.current_console = QStringLiteral("No console");
    }
    saveSettingsOrWarn(parentWidget());
}

void UsersDialog::calibrateSelectedConsole()
{
    const QList<QListWidgetItem*> selected = m_ui.listWidget->selectedItems();
    if (selected.isEmpty())
        return;
    if (m_traces.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Ошибка"),
                             QStringLiteral("Нет трассы для калибровки. Откройте или запишите хотя бы одну трассу"));
        return;
    }
    {
        AppSettings& settings = AppSettings::instance();
        QMutexLocker lock(&settings.mutex());
        settings.current_console = selected.first()->text();
    }
    m_launchCalibration(this, m_traces);
}

void openUsersDialogAfterPassword(int mode, const QList<AbstractTrace*>& traces, QWidget* parent,
                                  const CalibrationLauncher& launchCalibration)
{
    bool confirmed = false;
    const QString password = QInputDialog::getText(
        parent, QStringLiteral("Сервис-пароль"), QStringLiteral("Сервис-пароль:"), QLineEdit::Password, QString(),
        &confirmed, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    if (!confirmed || !isServicePassword(password))
        return;
    UsersDialog editor(mode, traces, parent, launchCalibration);
    editor.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    editor.exec();
}
