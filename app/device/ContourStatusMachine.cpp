#include "ContourStatusMachine.h"

#include "DeviceCommands.h"

#include <QDebug>

namespace {

constexpr int kCalibrationEndStatus = 109;

void emitSignal(DeviceActions& out, DeviceAction::Kind kind)
{
    out.push_back(DeviceAction::signal(kind));
}

void acknowledge(DeviceActions& out)
{
    out.push_back(DeviceAction::command(DeviceCommands::kAcknowledge));
}

} // namespace

bool ContourStatusMachine::isCalibrationEnd(int alarm, int status)
{
    return status == kCalibrationEndStatus && (alarm == 10 || alarm == 110);
}

QString ContourStatusMachine::calibrationStepText(int status)
{
    switch (status) {
    case 1:
    case 107: return QStringLiteral("Отвод контурографа от поверхности");
    case 2: return QStringLiteral("Поиск максимума показания датчика");
    case 3: return QStringLiteral("Поиск минимума показания датчика");
    case 4: return QStringLiteral("Настройка силы прижима иглы");
    case 5: return QStringLiteral("Подвод контурографа к поверхности до касания");
    case 108: return QStringLiteral("Опускание контурографа до центра диапазона датчика");
    case 109: return QStringLiteral("Калибровка завершена");
    default: return QStringLiteral("Калибровка датчика");
    }
}

bool ContourStatusMachine::processStatus(int alarm, int status, DeviceActions& out)
{
    qDebug().nospace() << "ALARM BYTE: " << alarm << " Status: " << status;
    switch (alarm) {
    case 0:
        emitSignal(out, DeviceAction::NormalStatus);
        return false;
    case 1:
    case 101:
        acknowledge(out);
        emitSignal(out, DeviceAction::PushButtonStopTrace);
        return false;
    case 2:
    case 102:
        emitSignal(out, DeviceAction::PushButtonStartTrace);
        return true;
    case 3:
    case 103:
        emitSignal(out, DeviceAction::NeedCalibration);
        return false;
    case 4:
        acknowledge(out);
        emitSignal(out, DeviceAction::ClearTracing);
        emitSignal(out, DeviceAction::CrashDevice);
        return false;
    case 5:
    case 7:
    case 9:
    case 105:
    case 107:
    case 108:
    case 109:
        emitSignal(out, DeviceAction::PrepareTrace);
        return false;
    case 6:
    case 100:
    case 106:
        emitSignal(out, DeviceAction::PrepareTrace);
        return true;
    case 8:
        if (status == 0)
            emitSignal(out, DeviceAction::OpenLoader);
        out.push_back(DeviceAction::progress(status, 100, QStringLiteral("Идёт поиск максимума на поверхности"), QString()));
        emitSignal(out, DeviceAction::PrepareTrace);
        return false;
    case 10:
        if (status == 1)
            emitSignal(out, DeviceAction::OpenLoader);
        out.push_back(DeviceAction::progress(status, 109, QStringLiteral("Идёт калибровка"), calibrationStepText(status)));
        emitSignal(out, DeviceAction::PrepareTrace);
        return false;
    case 110:
        emitSignal(out, DeviceAction::PrepareTrace);
        if (status == kCalibrationEndStatus)
            acknowledge(out);
        return false;
    default:
        return false;
    }
}
