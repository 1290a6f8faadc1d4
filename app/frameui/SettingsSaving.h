#pragma once

class QWidget;

// Saves the settings record. When the file cannot be written the values stay
// in the record for the next save, and one warning tells the user; it is not
// shown again until a save has succeeded. Call it without holding
// AppSettings::mutex().
bool saveSettingsOrWarn(QWidget* parent);
