#include "DeviceAction.h"

#include <QStringList>

#include <utility>

namespace {

QString printable(const std::string& bytes)
{
    QString text;
    for (unsigned char byte : bytes) {
        if (byte >= 0x20 && byte < 0x7F && byte != '\\')
            text += QChar(byte);
        else
            text += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return text;
}

QString number(double value)
{
    return QString::number(value, 'g', 10);
}

QString signalName(DeviceAction::Kind kind)
{
    switch (kind) {
    case DeviceAction::DataReset: return QStringLiteral("dataReset");
    case DeviceAction::PushButtonStartTrace: return QStringLiteral("pushButtonStartTrace");
    case DeviceAction::NeedCalibration: return QStringLiteral("needCalibration");
    case DeviceAction::PushButtonStopTrace: return QStringLiteral("pushButtonStopTrace");
    case DeviceAction::PrepareTrace: return QStringLiteral("prepareTrace");
    case DeviceAction::OpenLoader: return QStringLiteral("openLoader");
    case DeviceAction::CrashDevice: return QStringLiteral("crashDevice");
    case DeviceAction::NormalStatus: return QStringLiteral("normalStatus");
    case DeviceAction::DeleteAllTrace: return QStringLiteral("deleteAllTrace");
    case DeviceAction::ClearTracing: return QStringLiteral("clearTracing");
    default: return QStringLiteral("action %1").arg(int(kind));
    }
}

} // namespace

DeviceAction DeviceAction::command(std::string bytes)
{
    DeviceAction action;
    action.kind = SendCommand;
    action.text = std::move(bytes);
    return action;
}

DeviceAction DeviceAction::signal(Kind kind)
{
    DeviceAction action;
    action.kind = kind;
    return action;
}

DeviceAction DeviceAction::point(double probeHeight, double consoleHeight, double xPosition, int batchSize)
{
    DeviceAction action;
    action.kind = DataRecieved;
    action.probeHeight = probeHeight;
    action.consoleHeight = consoleHeight;
    action.xPosition = xPosition;
    action.value = batchSize;
    return action;
}

DeviceAction DeviceAction::barValue(int value)
{
    DeviceAction action;
    action.kind = SetBarValue;
    action.value = value;
    return action;
}

DeviceAction DeviceAction::progress(int status, int maxValue, const QString& processName, const QString& statusName)
{
    DeviceAction action;
    action.kind = SetStatusProgressBar;
    action.value = status;
    action.maxValue = maxValue;
    action.processName = processName;
    action.statusName = statusName;
    return action;
}

DeviceAction DeviceAction::logInfo(std::string line)
{
    DeviceAction action;
    action.kind = LogInfo;
    action.text = std::move(line);
    return action;
}

bool DeviceAction::operator==(const DeviceAction& other) const
{
    return kind == other.kind && text == other.text && probeHeight == other.probeHeight
        && consoleHeight == other.consoleHeight && xPosition == other.xPosition && value == other.value
        && maxValue == other.maxValue && processName == other.processName && statusName == other.statusName;
}

QString DeviceAction::toString() const
{
    switch (kind) {
    case SendCommand:
        return QStringLiteral("send ") + printable(text);
    case DataRecieved:
        return QStringLiteral("dataRecieved(%1, %2, %3, %4)")
            .arg(number(probeHeight), number(consoleHeight), number(xPosition))
            .arg(value);
    case SetBarValue:
        return QStringLiteral("setBarValue(%1)").arg(value);
    case SetStatusProgressBar:
        return QStringLiteral("setStatusProgressBar(%1, %2, %3, %4)").arg(value).arg(maxValue).arg(processName, statusName);
    case LogInfo:
        return QStringLiteral("log ") + printable(text);
    default:
        return signalName(kind);
    }
}
