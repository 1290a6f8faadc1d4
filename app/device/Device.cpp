#include "Device.h"

#include "DeviceCommands.h"
#include "DeviceParameterRecord.h"
#include "Logger.h"
#include "serial/Serial.h"

#include <QDebug>
#include <QMetaMethod>
#include <QMutexLocker>
#include <QtConcurrent>

#include <algorithm>
#include <array>

namespace {

constexpr char kProfileControllerReply[] = "OK";
constexpr char kContourControllerReply[] = "Zeta_581_R2";
constexpr std::size_t kIdentityReplySize = 20;
constexpr std::size_t kMarkerSize = 3;
// Single-byte reads while waiting for the parameter record's marker; the
// byte of the last one is never compared.
constexpr int kMarkerByteReads = 202;
constexpr int kProfileBarStart = 65535;
// What has arrived already is taken in one read of at most this size.
constexpr std::size_t kMaxChunk = 4096;
// The reader task and a recording's wait, with room for a recording that is
// finishing while the next one starts.
constexpr int kTaskPoolThreads = 4;

template <typename Access>
auto withSettings(Access access)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    return access(settings);
}

void saveSettings()
{
    AppSettings::instance().save();
}

void logInfo(const std::string& line)
{
    Logger::instance().log(INFO, line);
}

constexpr uint32_t kDeviceBaudRate = 460800;

// Opens the port with the instrument's line settings (8 data bits, no parity,
// one stop bit, no flow control) and no time-outs; throws when it cannot.
std::unique_ptr<serial::Serial> openWithDevicePortSettings(const std::string& name)
{
    return std::make_unique<serial::Serial>(name, kDeviceBaudRate, serial::Timeout(), serial::eightbits,
                                            serial::parity_none, serial::stopbits_one, serial::flowcontrol_none);
}

bool contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

Device::Device() : m_deviceType(withSettings([](const AppSettings& s) { return s.device.device_type; }))
{
    withSettings([this](const AppSettings& s) {
        m_lastPower = s.device.power_pressing;
        m_lastNeedlePressing = s.movement.needle_pressing;
    });
    m_taskPool.setMaxThreadCount(kTaskPoolThreads);
    initSearchTimer();
    initKeepAliveTimer();
}

Device::~Device()
{
    m_searchTimer.stop();
    m_keepAliveTimer.stop();
    m_stopRequested = true;
    m_tracing = false;
    try {
        m_readerFuture.waitForFinished();
    } catch (const std::exception& e) {
        qDebug() << "Device main thread wait exception" << e.what();
    }
    m_taskPool.waitForDone();
    m_serialPort.reset();
}

void Device::initSearchTimer()
{
    connect(&m_searchTimer, &QTimer::timeout, this, &Device::searchPort);
    m_searchTimer.setSingleShot(true);
    m_searchTimer.start(kFirstSearchDelayMs);
}

void Device::initKeepAliveTimer()
{
    connect(&m_keepAliveTimer, &QTimer::timeout, this, &Device::keepAlive);
    m_keepAliveTimer.start(kKeepAliveIntervalMs);
}

bool Device::isOpen() const
{
    return m_serialPort && m_serialPort->isOpen();
}

bool Device::isReaderRunning() const
{
    return m_readerFuture.isRunning();
}

QString Device::portName() const
{
    QMutexLocker lock(&m_portNameMutex);
    return QString::fromStdString(m_openPortName);
}

void Device::setType(int type)
{
    m_deviceType = type;
}

E_ANALISIS_TYPE Device::type() const
{
    return E_ANALISIS_TYPE(m_deviceType.load());
}

void Device::find()
{
    m_searchTimer.start();
}

void Device::searchPort()
{
    stopReader();
    const std::optional<std::string> name = probePorts();
    if (!name || !openPort(*name)) {
        emit deviceLost();
        m_searchTimer.start(kSearchRetryDelayMs);
        return;
    }
    {
        QMutexLocker lock(&m_portNameMutex);
        m_openPortName = *name;
    }
    emit deviceOpened();
    m_tracing = false;
    m_stopRequested = false;
    m_lostReported = false;
    startReader();
}

std::optional<std::string> Device::probePorts() const
{
    for (const serial::PortInfo& info : serial::searchable_ports()) {
        if (info.port == kSkippedPort)
            continue;
        std::unique_ptr<serial::Serial> probe;
        try {
            probe = openWithDevicePortSettings(info.port);
        } catch (const std::exception&) {
            continue;
        }
        if (probe->isOpen())
            return probe->getPort();
    }
    return std::nullopt;
}

// A port can vanish between the probe and this second opening; that counts
// as finding nothing.
bool Device::openPort(const std::string& name)
{
    try {
        std::unique_ptr<serial::Serial> port = openWithDevicePortSettings(name);
        port->setTimeout(serial::Timeout::simpleTimeout(kReadTimeoutMs));
        m_serialPort = std::move(port);
        return true;
    } catch (const std::exception& e) {
        qDebug() << "Device: cannot open" << name.c_str() << e.what();
        return false;
    }
}

// No two readers ever share a port, and no port goes while a reader uses it:
// the old reader ends (within one read time-out) before its port is deleted.
void Device::stopReader()
{
    m_stopRequested = true;
    try {
        m_readerFuture.waitForFinished();
    } catch (const std::exception& e) {
        qDebug() << "Device reader wait exception" << e.what();
    }
    m_tracing = false;
    m_serialPort.reset();
    m_received.clear();
    m_receivedPos = 0;
}

void Device::startReader()
{
    m_readerActive = true;
    m_readerFuture = QtConcurrent::run(&m_taskPool, [this] { readerLoop(); });
}

void Device::readerLoop()
{
    try {
        if (initConnection()) {
            while (!m_stopRequested) {
                if (m_deviceType >= PROFILE)
                    readProfileFrames();
                else
                    readContourPacket();
            }
        }
    } catch (const std::exception& e) {
        onLinkFailure(e.what());
    }
    m_readerActive = false;
}

// A read that fails means the device is gone: whatever trace ran has ended.
void Device::onLinkFailure(const char* what)
{
    qDebug() << "DeviceLost" << what;
    m_tracing = false;
    closePort();
    reportLost();
}

void Device::reportLost()
{
    if (!m_lostReported.exchange(true))
        emit deviceLost();
}

void Device::closePort()
{
    try {
        m_serialPort->close();
    } catch (const std::exception& e) {
        qDebug() << "Device: closing the port failed" << e.what();
    }
}

bool Device::initConnection()
{
    m_profileDecoder.reset();
    m_contourDecoder.reset();
    m_contourHandler.reset();
    sendCommand(DeviceCommands::kConnect);
    const auto [needle, power] = withSettings(
        [](const AppSettings& s) { return std::make_pair(s.movement.needle_pressing, s.device.power_pressing); });
    changePresingPower(needle, power);
    if (!identify())
        return false;
    if (m_deviceType == PROFILE) {
        emit setBarValue(kProfileBarStart);
        sendCommand(DeviceCommands::kProfileInit);
        const auto [filterIndex, length] = withSettings([](const AppSettings& s) {
            return std::make_pair(s.device.spinbox_filter_length_index, s.device.trace_length);
        });
        setFilter(filterIndex);
        setTraceLength(length);
    } else {
        readParameters();
    }
    setSpeed(withSettings([](const AppSettings& s) { return s.movement.current_speed; }));
    return true;
}

// Asks until the controller answers; the read time-out paces the questions.
bool Device::identify()
{
    while (!m_stopRequested) {
        sendCommand(DeviceCommands::kIdentify);
        const std::string reply = readBytes(kIdentityReplySize);
        int type = 0;
        if (contains(reply, kProfileControllerReply))
            type = PROFILE;
        else if (contains(reply, kContourControllerReply))
            type = withSettings([](const AppSettings& s) { return s.device.measurement_mode; }) == 2 ? CONTOUR_PROFILE
                                                                                                      : CONTOUR;
        else
            continue;
        m_deviceType = type;
        emit newDeviceType(type);
        withSettings([type](AppSettings& s) { s.device.device_type = type; });
        saveSettings();
        return true;
    }
    return false;
}

bool Device::readParameterMarker()
{
    std::string window = readBytes(kMarkerSize);
    for (int read = 0; read < kMarkerByteReads; ++read) {
        if (window == DeviceCommands::kParameterReplyMarker)
            return true;
        if (m_stopRequested)
            return false;
        const std::string byte = readBytes(1);
        window += byte.empty() ? '\0' : byte.front();
        if (window.size() > kMarkerSize)
            window.erase(0, window.size() - kMarkerSize);
    }
    return false;
}

// A record cut short is not taken: its missing bytes would be read as values.
void Device::readParameters()
{
    sendCommand(DeviceCommands::kReadParameters);
    if (!readParameterMarker())
        return;
    std::string bytes;
    for (int i = 0; i < DeviceParameterRecord::kValueCount; ++i) {
        const std::string value = readBytes(4);
        if (value.size() < 4) {
            qDebug() << "Device: the parameter record was cut short after" << bytes.size() + value.size() << "bytes";
            return;
        }
        bytes += value;
    }
    const std::optional<DeviceParameterRecord> record = DeviceParameterRecord::fromBytes(bytes);
    if (!record || !record->isAccepted())
        return;
    withSettings([&record](AppSettings& s) {
        s.calibration.x_axis_compression_ratio = record->xCompressionRatio();
        s.calibration.y_axis_compression_ratio = record->yCompressionRatio();
        s.calibration.displacement_coefficient = record->displacementCoefficient();
        s.calibration.rack_prpendicular = record->rackAngle();
    });
    saveSettings();
}

void Device::readProfileFrames()
{
    DeviceActions actions;
    while (!m_stopRequested) {
        const std::string bytes = nextBytes(m_profileDecoder.bytesWanted());
        if (m_stopRequested)
            return;
        m_profileDecoder.decode(bytes, m_tracing, actions);
        perform(actions);
    }
}

void Device::readContourPacket()
{
    std::vector<ContourPacket> packets;
    const std::string bytes = nextBytes(m_contourDecoder.bytesWanted());
    if (m_stopRequested)
        return;
    m_contourDecoder.decode(bytes, packets);
    DeviceActions actions;
    for (const ContourPacket& packet : packets) {
        const bool demo = withSettings([](const AppSettings& s) { return s.servise.demo_regime; });
        m_contourHandler.handlePacket(packet, demo, actions);
        perform(actions);
    }
}

// Up to `wanted` bytes, as one read of that size would give them: fewer only
// when the line stayed quiet for a read time-out. Whatever else has arrived
// already is fetched in the same read and kept for the next calls, so that a
// fast stream costs few reads.
std::string Device::nextBytes(std::size_t wanted)
{
    if (m_received.size() - m_receivedPos < wanted) {
        // The bytes taken already go first, so that a stream that never
        // runs dry does not pile up behind m_receivedPos.
        m_received.erase(0, m_receivedPos);
        m_receivedPos = 0;
        const std::size_t missing = wanted - m_received.size();
        const std::size_t arrived = std::min(m_serialPort->available(), kMaxChunk);
        m_received += readBytes(std::max(missing, arrived));
    }
    const std::size_t take = std::min(wanted, m_received.size() - m_receivedPos);
    std::string bytes = m_received.substr(m_receivedPos, take);
    m_receivedPos += take;
    return bytes;
}

std::string Device::readBytes(std::size_t n)
{
    if (m_stopRequested)
        return std::string();
    std::string bytes = m_serialPort->read(n);
    if (bytes.empty()) {
        qDebug("NO BYTES");
        return bytes;
    }
    static const QMetaMethod rawDataSignal = QMetaMethod::fromSignal(&Device::rowDataFromDevice);
    if (isSignalConnected(rawDataSignal))
        emit rowDataFromDevice(QString::fromUtf8(bytes.data(), int(bytes.size())));
    return bytes;
}

void Device::perform(DeviceActions& actions)
{
    for (const DeviceAction& action : actions) {
        switch (action.kind) {
        case DeviceAction::SendCommand:
            sendCommand(action.text);
            break;
        case DeviceAction::DataRecieved: {
            QMutexLocker lock(&m_deliveryMutex);
            emit dataRecieved(action.probeHeight, action.consoleHeight, action.xPosition, action.value);
            break;
        }
        case DeviceAction::DataReset: {
            QMutexLocker lock(&m_deliveryMutex);
            emit dataReset();
            break;
        }
        case DeviceAction::SetBarValue:
            emit setBarValue(action.value);
            break;
        case DeviceAction::PushButtonStartTrace:
            emit pushButtonStartTrace();
            break;
        case DeviceAction::NeedCalibration:
            // The controller has ended the trace; the recording must not wait for a stop.
            m_tracing = false;
            emit needCalibration();
            break;
        case DeviceAction::PushButtonStopTrace:
            emit pushButtonStopTrace();
            break;
        case DeviceAction::PrepareTrace:
            emit prepareTrace();
            break;
        case DeviceAction::OpenLoader:
            emit openLoader();
            break;
        case DeviceAction::SetStatusProgressBar:
            emit setStatusProgressBar(action.value, action.maxValue, action.processName, action.statusName);
            break;
        case DeviceAction::CrashDevice:
            emit crashDevice();
            break;
        case DeviceAction::NormalStatus:
            m_tracing = false;
            emit normalStatus();
            break;
        case DeviceAction::DeleteAllTrace:
            emit deleteAllTrace();
            break;
        case DeviceAction::ClearTracing:
            m_tracing = false;
            break;
        case DeviceAction::LogInfo:
            logInfo(action.text);
            break;
        }
    }
    actions.clear();
}

void Device::detachReceiver(const QMetaObject::Connection& connection)
{
    QMutexLocker lock(&m_deliveryMutex);
    disconnect(connection);
}

void Device::keepAlive()
{
    if (!m_tracing)
        sendCommand(DeviceCommands::kKeepAlive);
}

bool Device::sendCommand(const std::string& bytes)
{
    if (!m_serialPort)
        return false;
    try {
        return m_serialPort->write(bytes) == bytes.size();
    } catch (const serial::IOException& e) {
        qDebug() << "Device: write failed" << e.what();
        closePort();
        reportLost();
    } catch (const serial::PortNotOpenedException&) {
        reopenPort();
    }
    return false;
}

// While a reader still runs it ends by itself at the closed port; the port is
// opened again only once it has gone, so that no read meets a port being
// opened.
void Device::reopenPort()
{
    if (m_readerActive)
        return;
    try {
        m_serialPort->open();
    } catch (const std::exception&) {
        qDebug("Faild attempt");
    }
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
    sendCommand(DeviceCommands::calibration(m_deviceType, ra));
}

void Device::startTrace(bool trace_started)
{
    logInfo("startTrace");
    const auto [typeSetting, mode] = withSettings(
        [](const AppSettings& s) { return std::make_pair(s.device.device_type, s.device.measurement_mode); });
    sendCommands(DeviceCommands::startTrace(typeSetting, mode));
    m_tracing = trace_started;
}

void Device::stopTrace()
{
    if (!m_tracing)
        return;
    logInfo("stopTrace");
    DeviceActions actions =
        DeviceCommands::stopTrace(withSettings([](const AppSettings& s) { return s.device.device_type; }));
    perform(actions);
}

void Device::setSpeed(int spd)
{
    logInfo("setspeed with value " + std::to_string(spd));
    sendCommand(DeviceCommands::speed(m_deviceType, spd));
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
    saveSettings();
}

void Device::changeResolutionScaling()
{
    const auto factors = withSettings([](const AppSettings& s) {
        return std::array<int, 3>{s.servise.scale_x_resolution, s.servise.scale_z_resolution,
                                  s.servise.scale_r_resolution};
    });
    sendCommands(DeviceCommands::resolutionScaling(m_deviceType, factors[0], factors[1], factors[2]));
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
