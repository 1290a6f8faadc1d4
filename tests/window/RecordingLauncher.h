#pragma once

#include "AppSettings.h"
#include "CalibrationLauncher.h"

#include <QList>
#include <QString>

#include <functional>

class AbstractTrace;
class QWidget;

// Stands in for the probe calibration window: records each opening (the
// parent, the traces and the current console at that moment) and runs
// `whileOpen`, which may change the settings as the window would.
struct RecordingLauncher
{
    struct Opening
    {
        QWidget* parent;
        QList<AbstractTrace*> traces;
        QString currentConsole;
    };

    CalibrationLauncher launcher()
    {
        return [this](QWidget* parent, const QList<AbstractTrace*>& traces) {
            openings.append({parent, traces, AppSettings::instance().snapshot().current_console});
            if (whileOpen)
                whileOpen();
        };
    }

    QList<Opening> openings;
    std::function<void()> whileOpen;
};
