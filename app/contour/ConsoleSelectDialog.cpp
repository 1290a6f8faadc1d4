#include "ConsoleSelectDialog.h"

#include "AppSettings.h"
#include "EditedConsoles.h"
#include "SettingsSaving.h"

#include <QKeyEvent>
#include <QMutexLocker>

ConsoleSelectDialog::ConsoleSelectDialog(QWidget* parent) : QDialog(parent)
{
    m_ui.setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const AppSettingsData settings = AppSettings::instance().snapshot();
    m_initialCalibrations = settings.consoles;
    for (const QString& name : settings.console_names)
        m_ui.consoleList->addNamedItem(name);
    connect(m_ui.consoleList, &QListWidget::itemSelectionChanged, this, &ConsoleSelectDialog::updateSelectButton);
    connect(m_ui.addPushButton, &QPushButton::clicked, this, &ConsoleSelectDialog::addConsole);
    connect(m_ui.selectPushButton, &QPushButton::clicked, this, &ConsoleSelectDialog::applyConsoles);
    connect(m_ui.cancelPushButton, &QPushButton::clicked, this, &ConsoleSelectDialog::cancelConsoles);
}

void ConsoleSelectDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete) {
        m_ui.consoleList->removeCurrentItem();
        updateSelectButton();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ConsoleSelectDialog::updateSelectButton()
{
    m_ui.selectPushButton->setEnabled(!m_ui.consoleList->selectedItems().isEmpty());
}

void ConsoleSelectDialog::addConsole()
{
    m_ui.consoleList->addEditableItem(QStringLiteral("Новая консоль"));
}

// The chosen console is the current row. Without one (its row was just
// removed) nothing is changed and the dialog stays open.
void ConsoleSelectDialog::applyConsoles()
{
    const QListWidgetItem* chosen = m_ui.consoleList->currentItem();
    if (!chosen)
        return;
    AppSettings& settings = AppSettings::instance();
    {
        QMutexLocker lock(&settings.mutex());
        const QVector<EditedName> rows = m_ui.consoleList->editedNames();
        settings.consoles = calibrationsOfEditedConsoles(rows, settings.consoles);
        settings.console_names.clear();
        for (const EditedName& row : rows)
            settings.console_names.append(row.name);
        settings.current_console = chosen->text();
    }
    saveSettingsOrWarn(this);
    m_selectedConsole = chosen->text();
    accept();
}

void ConsoleSelectDialog::cancelConsoles()
{
    AppSettings& settings = AppSettings::instance();
    {
        QMutexLocker lock(&settings.mutex());
        settings.console_names = m_initialCalibrations.keys();
        settings.consoles = m_initialCalibrations;
    }
    reject();
}
