#pragma once

#include "AppSettings.h"

#include <QString>

#include <functional>

// The settings store is one per process: a test writes its "settings.ini",
// loads it into the record and reads the file back afterwards.

// Writes the INI text as the working directory's "settings.ini" (an empty
// text removes the file) and loads the file into the record.
void loadSettingsFile(const QString& iniText = QString());

// Writes the data as "settings.ini" and loads the file into the record.
void loadSettings(const AppSettingsData& data);

// Changes the record under its lock, without saving.
void changeSettings(const std::function<void(AppSettings&)>& change);

// What "settings.ini" holds now, read as the program reads it.
AppSettingsData savedSettings();
