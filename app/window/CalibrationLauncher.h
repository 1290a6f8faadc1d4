#pragma once

#include <QList>

#include <functional>

class AbstractTrace;
class QWidget;

// Opens the probe calibration window over `parent` on the traces and returns
// once the window has closed. The settings dialog and the consoles editor
// call it only after their own checks: at least one trace is given and the
// operator passed the password.
using CalibrationLauncher = std::function<void(QWidget* parent, const QList<AbstractTrace*>& traces)>;
