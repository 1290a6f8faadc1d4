#include "DeviceReader.h"

#include "DeviceCommands.h"
#include "DeviceParameterRecord.h"
#include "Logger.h"
#include "ReaderHost.h"
#include "SettingsAccess.h"
#include "TraceTypes.h"
#include "serial/Serial.h"

#include <QDebug>
#include <QMutexLocker>
#include <QtConcurrent>

#include <algorithm>
#include <utility>

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

bool contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

// Points and the block that ends a trace are its traffic; idle readings,
// which the controller sends whatever state its trace is in, are not.
bool carriesTrace(const DeviceActions& actions)
{
    return std::any_of(actions.begin(), actions.end(), [](const DeviceAction& action) {
        return action.kind == DeviceAction::DataRecieved || action.kind == DeviceAction::DataReset;
    });
}

} // namespace

DeviceReader::DeviceReader(ReaderHost& host, QThreadPool& pool, int type) : m_host(host), m_pool(pool), m_type(type)
{
}

DeviceReader::~DeviceReader()
{
    stop();
}

void DeviceReader::start(serial::Serial& port)
{
    m_port = &port;
    m_stopRequested = false;
    m_active = true;
    m_future = QtConcurrent::run(&m_pool, [this] { run(); });
}

// No two tasks ever share a port, and no port goes while a task uses it: the
// task ends (within one read time-out) before stop() returns.
void DeviceReader::stop()
{
    m_stopRequested = true;
    try {
        m_future.waitForFinished();
    } catch (const std::exception& e) {
        qDebug() << "Device reader wait exception" << e.what();
    }
    m_tracing = false;
    m_stopAnswer.end();
    m_stopUnanswered = false;
    m_received.clear();
    m_receivedPos = 0;
}

bool DeviceReader::isRunning() const
{
    return m_future.isRunning();
}

// A read that fails means the device is gone: whatever trace ran has ended.
void DeviceReader::run()
{
    try {
        if (initConnection()) {
            while (!m_stopRequested) {
                if (m_type >= PROFILE)
                    readProfileFrames();
                else
                    readContourPacket();
            }
        }
    } catch (const std::exception& e) {
        qDebug() << "DeviceLost" << e.what();
        m_tracing = false;
        m_host.onReadFailure();
    }
    m_active = false;
}

bool DeviceReader::initConnection()
{
    m_profileDecoder.reset();
    m_contourDecoder.reset();
    m_contourHandler.reset();
    m_consoleHeight = 0;
    m_probeHeight = 0;
    m_xPosition = 0;
    m_host.sendCommand(DeviceCommands::kConnect);
    const auto [needle, power] = withSettings(
        [](const AppSettings& s) { return std::make_pair(s.movement.needle_pressing, s.device.power_pressing); });
    m_host.changePresingPower(needle, power);
    if (!identify())
        return false;
    if (m_type == PROFILE) {
        emit setBarValue(kProfileBarStart);
        m_host.sendCommand(DeviceCommands::kProfileInit);
        const auto [filterIndex, length] = withSettings([](const AppSettings& s) {
            return std::make_pair(s.device.spinbox_filter_length_index, s.device.trace_length);
        });
        m_host.setFilter(filterIndex);
        m_host.setTraceLength(length);
    } else {
        readParameters();
    }
    m_host.setSpeed(withSettings([](const AppSettings& s) { return s.movement.current_speed; }));
    return true;
}

// Asks until the controller answers; the read time-out paces the questions.
bool DeviceReader::identify()
{
    while (!m_stopRequested) {
        m_host.sendCommand(DeviceCommands::kIdentify);
        const std::string reply = readBytes(kIdentityReplySize);
        int type = 0;
        if (contains(reply, kProfileControllerReply))
            type = PROFILE;
        else if (contains(reply, kContourControllerReply))
            type = DeviceCommands::contourTypeForMeasurementMode(
                withSettings([](const AppSettings& s) { return s.device.measurement_mode; }));
        else
            continue;
        m_type = type;
        emit newDeviceType(type);
        withSettings([type](AppSettings& s) { s.device.device_type = type; });
        AppSettings::instance().save();
        return true;
    }
    return false;
}

bool DeviceReader::readParameterMarker()
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
void DeviceReader::readParameters()
{
    m_host.sendCommand(DeviceCommands::kReadParameters);
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
    AppSettings::instance().save();
}

void DeviceReader::readProfileFrames()
{
    DeviceActions actions;
    while (!m_stopRequested) {
        const std::string bytes = nextBytes(m_profileDecoder.bytesWanted());
        if (m_stopRequested)
            return;
        m_profileDecoder.decode(bytes, m_tracing, actions);
        m_consoleHeight = m_profileDecoder.consoleHeight();
        const bool traceHeard = m_profileDecoder.isInBlock() || carriesTrace(actions);
        perform(actions);
        watchStopAnswer(traceHeard);
    }
}

void DeviceReader::waitForStopAnswer()
{
    m_stopAnswer.stopSent(StopAnswerWatch::Clock::now());
}

void DeviceReader::watchStopAnswer(bool traceHeard)
{
    const StopAnswerWatch::Clock::time_point now = StopAnswerWatch::Clock::now();
    if (traceHeard) {
        m_stopUnanswered = false;
        m_stopAnswer.heard(now);
    }
    if (!m_tracing) {
        m_stopAnswer.end();
        return;
    }
    if (!m_stopAnswer.hasExpired(now))
        return;
    qDebug() << "Device: the stop of the trace stayed unanswered";
    m_stopAnswer.end();
    m_stopUnanswered = true;
    m_tracing = false;
    emit stopUnanswered();
}

void DeviceReader::readContourPacket()
{
    std::vector<ContourPacket> packets;
    const std::string bytes = nextBytes(m_contourDecoder.bytesWanted());
    if (m_stopRequested)
        return;
    m_contourDecoder.decode(bytes, packets);
    DeviceActions actions;
    for (const ContourPacket& packet : packets) {
        m_consoleHeight = packet.consoleHeight;
        m_probeHeight = packet.probeHeight;
        m_xPosition = packet.xPosition;
        const bool demo = withSettings([](const AppSettings& s) { return s.servise.demo_regime; });
        m_contourHandler.handlePacket(packet, demo, actions);
        perform(actions);
    }
}

// Up to `wanted` bytes, as one read of that size would give them: fewer only
// when the line stayed quiet for a read time-out. Whatever else has arrived
// already is fetched in the same read and kept for the next calls, so that a
// fast stream costs few reads.
std::string DeviceReader::nextBytes(std::size_t wanted)
{
    if (m_received.size() - m_receivedPos < wanted) {
        // The bytes taken already go first, so that a stream that never
        // runs dry does not pile up behind m_receivedPos.
        m_received.erase(0, m_receivedPos);
        m_receivedPos = 0;
        const std::size_t missing = wanted - m_received.size();
        const std::size_t arrived = std::min(m_port->available(), kMaxChunk);
        m_received += readBytes(std::max(missing, arrived));
    }
    const std::size_t take = std::min(wanted, m_received.size() - m_receivedPos);
    std::string bytes = m_received.substr(m_receivedPos, take);
    m_receivedPos += take;
    return bytes;
}

std::string DeviceReader::readBytes(std::size_t n)
{
    if (m_stopRequested)
        return std::string();
    std::string bytes = m_port->read(n);
    if (bytes.empty()) {
        qDebug("NO BYTES");
        return bytes;
    }
    if (m_host.wantsRawData())
        emit rowDataFromDevice(QString::fromUtf8(bytes.data(), int(bytes.size())));
    return bytes;
}

void DeviceReader::perform(DeviceActions& actions)
{
    for (const DeviceAction& action : actions) {
        switch (action.kind) {
        case DeviceAction::SendCommand:
            m_host.sendCommand(action.text);
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
            Logger::instance().log(INFO, action.text);
            break;
        }
    }
    actions.clear();
}

void DeviceReader::detachReceiver(const QMetaObject::Connection& connection)
{
    QMutexLocker lock(&m_deliveryMutex);
    disconnect(connection);
}
