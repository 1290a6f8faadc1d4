#include "InspectorChoice.h"

#include "AppSettings.h"
#include "SettingsSaving.h"

#include <QInputDialog>
#include <QMutexLocker>

InspectorChoice::Outcome InspectorChoice::ask(QWidget* parent)
{
    if (!AppSettings::instance().snapshot().controllers.isEmpty())
        return AlreadyListed;

    bool confirmed = false;
    const QString name = QInputDialog::getItem(parent, QStringLiteral("Контроллер"), QStringLiteral("Имя контролёра"),
                                               QStringList(), -1, true, &confirmed)
                             .trimmed();
    if (!confirmed || name.isEmpty())
        return Cancelled;
    {
        AppSettings& settings = AppSettings::instance();
        QMutexLocker lock(&settings.mutex());
        settings.current_controller_name = name;
        settings.controllers.append(name);
    }
    saveSettingsOrWarn(parent);
    return Chosen;
}
