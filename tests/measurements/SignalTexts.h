#pragma once

#include <QSignalSpy>
#include <QStringList>

// The text argument of every emission a spy recorded (statusText, ...).
inline QStringList signalTexts(const QSignalSpy& spy)
{
    QStringList result;
    for (const QList<QVariant>& arguments : spy)
        result << arguments.at(0).toString();
    return result;
}
