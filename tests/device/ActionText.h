#pragma once

#include "DeviceAction.h"

#include <QStringList>

// The actions in their readable form, for comparisons with expected lists.
inline QStringList actionText(const DeviceActions& actions)
{
    QStringList text;
    for (const DeviceAction& action : actions)
        text << action.toString();
    return text;
}

// The bytes of a test vector written as hex pairs; other characters separate them.
inline std::string hexBytes(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex)).toStdString();
}
