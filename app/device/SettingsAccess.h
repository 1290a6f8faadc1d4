#pragma once

#include "AppSettings.h"

#include <QMutexLocker>

// Runs `access` on the settings store under its lock and returns what it
// returns: the instrument link reads and writes the settings from its reader
// task as well as from the GUI thread.
template <typename Access>
auto withSettings(Access access)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    return access(settings);
}
