#include "SettingsSaveWarning.h"

#include "AppSettings.h"

#include <QMessageBox>

namespace {

// Whether the user was told about a failed save since the last one that succeeded.
bool warnedSinceLastSuccess = false;

} // namespace

bool saveSettingsOrWarn(QWidget* parent)
{
    if (AppSettings::instance().save()) {
        warnedSinceLastSuccess = false;
        return true;
    }
    if (!warnedSinceLastSuccess) {
        // Set before the box opens: a save from the box's own event loop stays silent.
        warnedSinceLastSuccess = true;
        QMessageBox::warning(parent, QStringLiteral("Ошибка"), QStringLiteral("Не удалось сохранить настройки"));
    }
    return false;
}
