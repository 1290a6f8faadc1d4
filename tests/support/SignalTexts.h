#pragma once

#include <QSignalSpy>
#include <QStringList>

// The first argument of every emission a spy recorded, as text: the status
// lines and messages a test reads back.
inline QStringList signalTexts(const QSignalSpy& spy)
{
    QStringList texts;
    for (const QList<QVariant>& arguments : spy)
        texts << arguments.value(0).toString();
    return texts;
}
