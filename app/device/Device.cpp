#include "Device.h"

#include "DeviceCommands.h"
#include "DeviceParameterRecord.h"
#include "Logger.h"
#include "SettingsAccess.h"
#include "serial/Serial.h"

#include <QDebug>
#include <QMetaMethod>
#include <QMutexLocker>

#include <array>

namespace {

// The reader task and a recording's wait, with room for a recording that is
// finishing while the next one starts.
constexpr int kTaskPoolThreads = 4;

void logInfo(const std::string& line)
{
    Logger::instance().log(INFO, line);
}

} // namespace

Device::Device() : m_reader(*this, m_taskPool, withSettings([](const AppSettings& s) { return s.device.device_type; }))
{
    withSettings([this](const AppSettings& s) {
        m_lastPower = s.device.power_pressing;
        m_lastNeedlePressing = s.movement.needle_pressing;
    });
    m_taskPool.setMaxThreadCount(kTaskPoolThreads);
    forwardReaderSignals();
    connect(&m_port, &DevicePort::searchStarting, this, [this] { m_reader.stop(); });
    connect(&m_port, &DevicePort::notFound, this, &Device::deviceLost);
    connect(&m_port, &DevicePort::found, this, &Device::onPortFound);
    connect(&m_keepAliveTimer, &QTimer::timeout, this, &Device::keepAlive);
    m_keepAliveTimer.start(kKeepAliveIntervalMs);
}

Device::~Device()
{
    m_port.stopSearching();
    m_keepAliveTimer.stop();
    m_reader.setTracing(false);
    m_reader.stop();
    m_taskPool.waitForDone();
    m_port.release();
}

// The reader emits on its task; its receivers see the link's signals on the
// same thread, as if the link had emitted them there.
void Device::forwardReaderSignals()
{
    const auto forward = [this](auto readerSignal, auto deviceSignal) {
        connect(&m_reader, readerSignal, this, deviceSignal, Qt::DirectConnection);
    };
    forward(&DeviceReader::dataRecieved, &Device::dataRecieved);
    forward(&DeviceReader::dataReset, &Device::dataReset);
    forward(&DeviceReader::setBarValue, &Device::setBarValue);
    forward(&DeviceReader::pushButtonStartTrace, &Device::pushButtonStartTrace);
    forward(&DeviceReader::needCalibration, &Device::needCalibration);
    forward(&DeviceReader::pushButtonStopTrace, &Device::pushButtonStopTrace);
    forward(&DeviceReader::prepareTrace, &Device::prepareTrace);
    forward(&DeviceReader::openLoader, &Device::openLoader);
    forward(&DeviceReader::setStatusProgressBar, &Device::setStatusProgressBar);
    forward(&DeviceReader::crashDevice, &Device::crashDevice);
    forward(&DeviceReader::normalStatus, &Device::normalStatus);
    forward(&DeviceReader::deleteAllTrace, &Device::deleteAllTrace);
    forward(&DeviceReader::newDeviceType, &Device::newDeviceType);
    forward(&DeviceReader::rowDataFromDevice, &Device::rowDataFromDevice);
    forward(&DeviceReader::stopUnanswered, &Device::stopUnanswered);
}

bool Device::isOpen() const
{
    return m_port.isOpen();
}

bool Device::isReaderRunning() const
{
    return m_reader.isRunning();
}

QString Device::portName() const
{
    return m_port.name();
}

void Device::setType(int type)
{
    m_reader.setType(type);
}

E_ANALISIS_TYPE Device::type() const
{
    return E_ANALISIS_TYPE(m_reader.type());
}

void Device::find()
{
    m_port.searchAgain();
}

void Device::onPortFound()
{
    emit deviceOpened();
    m_reader.setTracing(false);
    m_lostReported = false;
    m_reader.start(*m_port.serial());
}

bool Device::wantsRawData() const
{
    static const QMetaMethod rawDataSignal = QMetaMethod::fromSignal(&Device::rowDataFromDevice);
    return isSignalConnected(rawDataSignal);
}

void Device::onReadFailure()
{
    m_port.close();
    reportLost();
}

void Device::reportLost()
{
    if (!m_lostReported.exchange(true))
        emit deviceLost();
}

void Device::detachReceiver(const QMetaObject::Connection& connection)
{
    m_reader.detachReceiver(connection);
}

void Device::keepAlive()
{
    if (!m_reader.isTracing())
        sendCommand(DeviceCommands::kKeepAlive);
}

// While a reader still runs it ends by itself at the closed port; the port is
// opened again only once it has gone, so that no read meets a port being
// opened.
bool Device::sendCommand(const std::string& bytes)
{
    serial::Serial* port = m_port.serial();
    if (!port)
        return false;
    try {
        return port->write(bytes) == bytes.size();
    } catch (const serial::IOException& e) {
        qDebug() << "Device: write failed" << e.what();
        m_port.close();
        reportLost();
    } catch (const serial::PortNotOpenedException&) {
        if (!m_reader.isActive())
            m_port.reopen();
    }
    return false;
}

void Device::sendCommands(const std::vector<std::string>& commands)
{
    for (const std::string& command : commands)
        sendCommand(command);
}

void Device::moveX(int val)
{
    sendCommand(DeviceCommands::moveX(val));
}

void Device::moveY(int val)
{
    sendCommand(DeviceCommands::moveY(val));
}

void Device::moveZ(int val)
{
    sendCommand(DeviceCommands::moveZ(val));
}

void Device::autoMinMaxCalib()
{
    logInfo("autoMaxCalib");
    sendCommand(DeviceCommands::kAutoMinMaxCalib);
}

void Device::calibration()
{
    logInfo("Calibration");
    const double ra = withSettings([](const AppSettings& s) { return s.calibration.calibration_Ra_value; });
    sendCommand(DeviceCommands::calibration(m_reader.type(), ra));
}

void Device::startTrace(bool trace_started)
{
    logInfo("startTrace");
    const auto [typeSetting, mode] = withSettings(
        [](const AppSettings& s) { return std::make_pair(s.device.device_type, s.device.measurement_mode); });
    sendCommands(DeviceCommands::startTrace(typeSetting, mode));
    m_reader.setTracing(trace_started);
}

void Device::stopTrace()
{
    if (!m_reader.isTracing())
        return;
    logInfo("stopTrace");
    DeviceActions actions =
        DeviceCommands::stopTrace(withSettings([](const AppSettings& s) { return s.device.device_type; }));
    m_reader.perform(actions);
    if (m_reader.isTracing())
        m_reader.waitForStopAnswer();
}

void Device::setSpeed(int spd)
{
    logInfo("setspeed with value " + std::to_string(spd));
    sendCommand(DeviceCommands::speed(m_reader.type(), spd));
}

void Device::setFilter(int index)
{
    qDebug() << "Filter" << index;
    sendCommand(DeviceCommands::filter(index));
}

void Device::setTraceLength(int length)
{
    sendCommand(DeviceCommands::traceLength(length));
}

void Device::changePresingPower(MovementSettings::E_NEEDLE_PRESSING needle_pressing, int power_pressing)
{
    {
        QMutexLocker lock(&m_pressingMutex);
        if (needle_pressing == m_lastNeedlePressing && power_pressing == m_lastPower)
            return;
        m_lastNeedlePressing = needle_pressing;
        m_lastPower = power_pressing;
    }
    const std::string command = DeviceCommands::pressingPower(needle_pressing, power_pressing);
    logInfo("changePresingPower to value: " + command);
    sendCommand(command);
    withSettings([&](AppSettings& s) {
        s.movement.needle_pressing = needle_pressing;
        s.device.power_pressing = power_pressing;
    });
    AppSettings::instance().save();
}

void Device::changeResolutionScaling()
{
    const auto factors = withSettings([](const AppSettings& s) {
        return std::array<int, 3>{s.servise.scale_x_resolution, s.servise.scale_z_resolution,
                                  s.servise.scale_r_resolution};
    });
    sendCommands(DeviceCommands::resolutionScaling(m_reader.type(), factors[0], factors[1], factors[2]));
}

void Device::setMMPerRotation(double value)
{
    sendCommand(DeviceCommands::mmPerRotation(value));
}

void Device::sendToTermalPrinter(QVector<QByteArray> byteArray)
{
    sendCommands(DeviceCommands::thermalPrinter(byteArray));
}

bool Device::writeParameters()
{
    const DeviceParameterRecord record = withSettings([](const AppSettings& s) {
        return DeviceParameterRecord::fromCalibration(s.calibration.x_axis_compression_ratio,
                                                      s.calibration.y_axis_compression_ratio,
                                                      s.calibration.displacement_coefficient,
                                                      s.calibration.rack_prpendicular);
    });
    return sendCommand(DeviceCommands::parameterUpload(record));
}

void Device::sendRaw(const QString& text)
{
    sendCommand(DeviceCommands::raw(text));
}
