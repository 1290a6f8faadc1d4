#include "SettingsSaving.h"

#include <QMessageBox>

#include "AppSettings.h"

namespace {

bool& failureShown()
{
    static bool shown = false;
    return shown;
}

} // namespace

bool saveSettingsOrWarn(QWidget* parent)
{
    if (AppSettings::instance().save()) {
        failureShown() = false;
        return true;
    }
    if (!failureShown()) {
        failureShown() = true;
        QMessageBox::warning(parent, QStringLiteral("Ошибка"), QStringLiteral("Не удалось сохранить настройки"));
    }
    return false;
}
