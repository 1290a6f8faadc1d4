#include "ParamsDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMutexLocker>
#include <QPushButton>
#include <QVBoxLayout>

#include "AppSettings.h"
#include "SettingsSaving.h"

namespace {

QStringList listedNames(const QMap<int, QString>& names, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(names.value(i));
    return list;
}

QMap<int, QString> namesOf(const QListWidget* list)
{
    QMap<int, QString> names;
    for (int row = 0; row < list->count(); ++row)
        names.insert(row, list->item(row)->text());
    return names;
}

// Takes the selected entries out of one list, in the order they were
// selected, and appends them to the other.
void moveSelected(QListWidget* from, QListWidget* to)
{
    for (QListWidgetItem* item : from->selectedItems())
        to->addItem(from->takeItem(from->row(item)));
}

QVBoxLayout* titledColumn(const QString& title, QWidget* widget)
{
    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel(title));
    column->addWidget(widget);
    return column;
}

} // namespace

ParamsDialog::ParamsDialog(QWidget* parent)
    : QDialog(parent)
    , m_enabledList(new QListWidget)
    , m_disabledList(new QListWidget)
    , m_toDisabledButton(new QPushButton(QStringLiteral("->")))
    , m_toEnabledButton(new QPushButton(QStringLiteral("<-")))
    , m_okButton(new QPushButton(QStringLiteral("Ок")))
    , m_cancelButton(new QPushButton(QStringLiteral("Отмена")))
{
    setWindowTitle(QStringLiteral("Настройки"));
    {
        AppSettings& settings = AppSettings::instance();
        QMutexLocker lock(&settings.mutex());
        const PreferenceSettings& preferences = settings.preferenses;
        m_enabledList->addItems(listedNames(preferences.enabled_params, preferences.enabled_params_count));
        m_disabledList->addItems(listedNames(preferences.disabled_params, preferences.disabled_params_count));
    }
    setUpList(m_enabledList);
    setUpList(m_disabledList);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_toEnabledButton);
    buttons->addWidget(m_toDisabledButton);
    auto* lists = new QHBoxLayout;
    lists->addLayout(titledColumn(QStringLiteral("Отображённые параметры"), m_enabledList));
    lists->addLayout(buttons);
    lists->addLayout(titledColumn(QStringLiteral("Список параметров"), m_disabledList));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_okButton);
    bottom->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(bottom);

    connect(m_toDisabledButton, &QPushButton::clicked, this, &ParamsDialog::moveToDisabled);
    connect(m_toEnabledButton, &QPushButton::clicked, this, &ParamsDialog::moveToEnabled);
    connect(m_okButton, &QPushButton::released, this, &ParamsDialog::saveLists);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void ParamsDialog::setUpList(QListWidget* list)
{
    list->setDragEnabled(true);
    list->setAcceptDrops(true);
    list->setDropIndicatorShown(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setDefaultDropAction(Qt::MoveAction);
    list->setDragDropMode(QAbstractItemView::DragDrop);
}

void ParamsDialog::moveToDisabled()
{
    moveSelected(m_enabledList, m_disabledList);
}

void ParamsDialog::moveToEnabled()
{
    moveSelected(m_disabledList, m_enabledList);
}

void ParamsDialog::saveLists()
{
    {
        AppSettings& settings = AppSettings::instance();
        QMutexLocker lock(&settings.mutex());
        PreferenceSettings& preferences = settings.preferenses;
        preferences.enabled_params_count = m_enabledList->count();
        preferences.enabled_params = namesOf(m_enabledList);
        preferences.disabled_params_count = m_disabledList->count();
        preferences.disabled_params = namesOf(m_disabledList);
    }
    saveSettingsOrWarn(this);
    accept();
}
