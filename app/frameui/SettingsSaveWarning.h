#pragma once

class QWidget;

// The one way the user's own changes to the settings are saved: saves the
// settings store (AppSettings::save, which logs a failure) and, when the file
// cannot be written, shows the warning "Не удалось сохранить настройки" with
// `parent` as the box's parent. The warning shows once; further failed saves
// stay silent until a save succeeds again, so a field that saves on every
// keystroke does not bury the user in boxes. The change stays in the record
// either way and goes out with the next save that succeeds.
//
// GUI thread only (the box is modal). Callers take the settings lock for
// their changes and release it before calling this. Returns whether the file
// was written.
bool saveSettingsOrWarn(QWidget* parent);
