#pragma once

#include <QString>

// The password of the service tools (the editors of inspectors and consoles,
// the probe calibration), compared exactly.
bool isServicePassword(const QString& text);

// The organisation name that switches the developer mode on, compared exactly.
bool isDeveloperCode(const QString& text);
