#pragma once

#include <QStringList>

// The texts of the run's log file (Logger::instance()), one per line, without
// their time stamps.
QStringList logTexts();
