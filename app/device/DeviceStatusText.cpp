#include "DeviceStatusText.h"

#include "TraceTypes.h"

namespace {

constexpr double kMicrometresPerMillimetre = 1000;
constexpr double kNanometresPerMillimetre = 1000000;
// A console height at or below this (in millimetres) is shown as 0.
constexpr double kConsoleHeightShownFrom = 0.001;

QString g6(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

QString DeviceStatusText::connected(const QString& port)
{
    return QStringLiteral("Устройство ") + port + QStringLiteral(" соединено");
}

QString DeviceStatusText::notFound()
{
    return QStringLiteral("Устройство не найдено");
}

QString DeviceStatusText::stopUnanswered(const QString& port)
{
    return QStringLiteral("Устройство ") + port + QStringLiteral(" не отвечает: трасса завершена по принятым точкам");
}

QString DeviceStatusText::readings(int deviceType, const QString& port, int consoleHeight, int probeHeight,
                                   int xPosition)
{
    const QString device = QStringLiteral("Устройство ") + port;
    if (deviceType == PROFILE)
        return device + QStringLiteral(" с показателем z: ") + QString::number(consoleHeight);
    const double console = consoleHeight / kNanometresPerMillimetre;
    const QString z2 = console > kConsoleHeightShownFrom ? g6(console) : QStringLiteral("0");
    return device + QStringLiteral(" с показателями x: ") + g6(xPosition / kMicrometresPerMillimetre) +
           QStringLiteral("мм , z1: ") + g6(probeHeight / kMicrometresPerMillimetre) + QStringLiteral(" мм, z2: ") +
           z2 + QStringLiteral(" мм");
}
