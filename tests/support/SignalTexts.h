#pragma once

#include <QSignalSpy>
#include <QStringList>

// The first argument of every signal a spy recorded, as text: the status
// lines a measurement or a panel emitted, in order.
inline QStringList signalTexts(const QSignalSpy& spy)
{
    QStringList result;
    for (const QList<QVariant>& arguments : spy)
        result << arguments.at(0).toString();
    return result;
}
