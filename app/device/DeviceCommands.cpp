#include "DeviceCommands.h"

const QMap<int, QString> kScanSpeeds = {
    {0, QStringLiteral("0.25 мм/c")},
    {1, QStringLiteral("0.50 мм/c")},
    {2, QStringLiteral("1.00 мм/c")},
    {3, QStringLiteral("2.00 мм/c")},
};

double scanSpeedMmPerSecond(int speedIndex)
{
    switch (speedIndex) {
    case 0: return 0.25;
    case 1: return 0.5;
    case 2: return 1.0;
    case 3: return 2.0;
    default: return 0.0;
    }
}

namespace DeviceCommands {

namespace {

std::string jog(const char* axis, int direction)
{
    const char sign = direction == 0 ? '0' : direction < 0 ? '-' : '+';
    return std::string(axis) + sign;
}

std::string decimal(int value)
{
    return std::to_string(value);
}

std::string twoDigits(int factor)
{
    return factor <= 9 ? "0" + decimal(factor) : decimal(factor);
}

} // namespace

bool isProfileType(int deviceType)
{
    return deviceType == 2 || deviceType == 3;
}

int contourTypeForMeasurementMode(int measurementMode)
{
    return measurementMode == 2 ? 1 : 0;
}

std::string moveX(int val)
{
    return jog("DX", -val);
}

std::string moveY(int val)
{
    return jog("DY", val);
}

std::string moveZ(int val)
{
    return jog("DZ", val);
}

std::vector<std::string> startTrace(int deviceTypeSetting, int measurementMode)
{
    if (isProfileType(deviceTypeSetting))
        return {"CS"};
    if (deviceTypeSetting != 0 && deviceTypeSetting != 1)
        return {};
    switch (measurementMode) {
    case 0:
    case 2: return {"CS"};
    case 1: return {"Cs"};
    case 3: return {"CL"};
    default: return {};
    }
}

DeviceActions stopTrace(int deviceTypeSetting)
{
    if (isProfileType(deviceTypeSetting))
        return {DeviceAction::command(kStopTrace), DeviceAction::command(kAutoMinMaxCalib)};
    return {DeviceAction::command(kStopTrace), DeviceAction::signal(DeviceAction::ClearTracing),
            DeviceAction::command(kAcknowledge)};
}

std::string calibration(int deviceType, double calibrationRaValue)
{
    if (deviceType != 2)
        return kContourCalibration;
    const int thousandths = DeviceParameterRecord::toFixedPoint(calibrationRaValue, 1000);
    return "Ka" + QString::number(thousandths).rightJustified(5, QLatin1Char('0')).toStdString();
}

std::string mmPerRotation(double value)
{
    QString text = QString::number(value, 'g', 6).remove(QLatin1Char('.'));
    switch (text.size()) {
    case 1:
        text = QLatin1Char('0') + text + QStringLiteral("00");
        break;
    case 2:
        text = value >= 10 ? text + QStringLiteral("00") : QLatin1Char('0') + text + QLatin1Char('0');
        break;
    case 3:
        text = value >= 10 ? text + QLatin1Char('0') : QLatin1Char('0') + text;
        break;
    default:
        break;
    }
    return "R" + text.toStdString();
}

std::vector<std::string> resolutionScaling(int deviceType, int scaleX, int scaleZ, int scaleR)
{
    if (deviceType == 2)
        return {};
    return {"KX" + twoDigits(scaleX), "KZ" + twoDigits(scaleZ), "KR" + twoDigits(scaleR)};
}

std::string pressingPower(int needlePressing, int power)
{
    return std::string("P") + (needlePressing == 1 ? 'd' : 'u') + decimal(power);
}

std::string speed(int deviceType, int speedIndex)
{
    return (deviceType == 2 ? "PS" : "SX") + decimal(speedIndex);
}

std::string filter(int cutOffIndex)
{
    return "PF" + decimal(cutOffIndex + 1);
}

std::string traceLength(int length)
{
    return std::string("PL") + static_cast<char>('0' + length);
}

std::string parameterUpload(const DeviceParameterRecord& record)
{
    return "O" + record.toBytes();
}

std::string raw(const QString& text)
{
    return QString(text).remove(QLatin1Char('\n')).toUtf8().toStdString();
}

std::vector<std::string> thermalPrinter(const QVector<QByteArray>& rows)
{
    std::vector<std::string> commands;
    commands.reserve(std::size_t(rows.size()) + 1);
    for (const QByteArray& row : rows)
        commands.push_back(row.toStdString());
    commands.emplace_back(kThermalPrinterEnd);
    return commands;
}

} // namespace DeviceCommands
