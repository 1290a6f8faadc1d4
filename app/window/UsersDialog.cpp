#include "UsersDialog.h"

#include "AppSettings.h"
#include "ServiceCodes.h"
#include "SettingsSaving.h"

#include <QAction>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMutexLocker>

namespace {

// The name an item had when the editor opened; items added since have none.
// Kept on the item, so that a deleted item's name cannot pass to a new one.
constexpr int kOpeningNameRole = Qt::UserRole + 1;

bool hasOpeningName(const QListWidgetItem* item)
{
    return item->data(kOpeningNameRole).isValid();
}

QString openingName(const QListWidgetItem* item)
{
    return item->data(kOpeningNameRole).toString();
}

} // namespace

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
        addNamedItem(name);
    connect(this, &QDialog::accepted, this, &UsersDialog::saveConsoles);
}

void UsersDialog::setupInspectors()
{
    const QStringList names = AppSettings::instance().snapshot().controllers;
    for (const QString& name : names)
        addNamedItem(name);
    connect(m_ui.addPushButton, &QPushButton::released, this, &UsersDialog::addInspector);
    connect(this, &QDialog::accepted, this, &UsersDialog::saveInspectors);
}

void UsersDialog::addNamedItem(const QString& name)
{
    auto* item = new QListWidgetItem(name);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setData(kOpeningNameRole, name);
    m_ui.listWidget->addItem(item);
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
        for (int row = 0; row < m_ui.listWidget->count(); ++row) {
            const QListWidgetItem* item = m_ui.listWidget->item(row);
            settings.controllers.append(item->text());
            if (!currentFound && hasOpeningName(item) && openingName(item) == current) {
                settings.current_controller_name = item->text();
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
        const QMap<QString, QVector<double>> openingValues = settings.consoles;
        const QString current = settings.current_console;
        bool currentFound = false;
        settings.console_names.clear();
        settings.consoles.clear();
        for (int row = 0; row < m_ui.listWidget->count(); ++row) {
            const QListWidgetItem* item = m_ui.listWidget->item(row);
            const QString name = item->text();
            settings.console_names.append(name);
            if (!hasOpeningName(item)) {
                settings.consoles.insert(name, defaultConsoleCalibration());
                continue;
            }
            if (!currentFound && openingName(item) == current) {
                settings.current_console = name;
                currentFound = true;
            }
            settings.consoles.insert(name, openingValues.value(openingName(item), defaultConsoleCalibration()));
        }
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
