#include "SimulatedController.h"

#include "ControllerFrames.h"
#include "DeviceCommands.h"
#include "PtyPair.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <unistd.h>

namespace {

constexpr std::size_t kUnpacedWriteSize = 65536;
constexpr double kMaxPacedBurst = 256;
constexpr std::size_t kParameterUploadSize = 1 + DeviceParameterRecord::kByteSize;

constexpr std::size_t kIncomplete = std::size_t(-1);
constexpr std::size_t kNoCommand = 0;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of "prefix + decimal digits" at the start of input.
std::size_t digitRun(std::string_view input, std::size_t prefix)
{
    std::size_t end = prefix;
    while (end < input.size() && isDigit(input[end]))
        ++end;
    return end == input.size() ? kIncomplete : end;
}

std::size_t fixedLength(std::string_view input, std::size_t length)
{
    return input.size() >= length ? length : kIncomplete;
}

// The length of the command that input starts with; kIncomplete when more
// bytes are needed to tell, kNoCommand when no command starts here.
std::size_t commandLength(std::string_view input)
{
    if (input.size() < 2)
        return kIncomplete;
    const char second = input[1];
    switch (input[0]) {
    case 'C': return 2;
    case 'O': return fixedLength(input, kParameterUploadSize);
    case 'R': return fixedLength(input, 5);
    case 'P':
        if (second == 'd' || second == 'u' || second == 'F' || second == 'S')
            return digitRun(input, 2);
        return second == 'L' ? fixedLength(input, 3) : kNoCommand;
    case 'S': return second == 'X' ? digitRun(input, 2) : kNoCommand;
    case 'K':
        if (second == 'X' || second == 'Z' || second == 'R')
            return fixedLength(input, 4);
        return second == 'a' ? digitRun(input, 2) : kNoCommand;
    case 'D': return second == 'X' || second == 'Y' || second == 'Z' ? fixedLength(input, 3) : kNoCommand;
    case '\xD9': return second == '\x31' ? 2 : kNoCommand;
    default: return kNoCommand;
    }
}

bool isContourStart(const std::string& command)
{
    return command == "CS" || command == "Cs" || command == "CL";
}

} // namespace

SimulatedController::SimulatedController(Family family)
    : m_family(family),
      m_identityReply(family == Family::Profile ? "OK" : "Zeta_581_R2")
{
    setParameterRecord(DeviceParameterRecord::fromCalibration(1, 1, 0, 0));
    m_idlePacket = ControllerFrames::packet(0, 0, 0, 0, 1000);
}

SimulatedController::~SimulatedController()
{
    stop();
}

void SimulatedController::start()
{
    stop();
    m_pty = std::make_unique<PtyPair>();
    m_stopping = false;
    m_vanished = false;
    m_output.clear();
    m_pendingInput.clear();
    m_pauseEnd.reset();
    m_lastWrite = m_lastIdleOutput = m_lastInput = Clock::now();
    m_worker = std::thread(&SimulatedController::run, this);
}

void SimulatedController::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    if (m_worker.joinable())
        m_worker.join();
    m_pty.reset();
}

bool SimulatedController::isRunning() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_pty && !m_stopping && !m_vanished;
}

std::string SimulatedController::portName() const
{
    return m_pty ? m_pty->slavePath() : std::string();
}

void SimulatedController::setIdentityReply(const std::string& reply)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_identityReply = reply;
}

void SimulatedController::setParameterRecord(const DeviceParameterRecord& record)
{
    setParameterReply(DeviceCommands::kParameterReplyMarker + record.toBytes());
}

void SimulatedController::setParameterReply(const std::string& bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_parameterReply = bytes;
}

void SimulatedController::setProfileTrace(const ProfileTrace& trace)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_profileTrace = trace;
}

void SimulatedController::setContourTrace(const std::vector<ContourPacket>& packets)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_contourTrace = packets;
}

std::vector<ContourPacket> SimulatedController::contourTraceSequence(const std::vector<ContourPacket>& points)
{
    const ContourPacket first = points.empty() ? ContourPacket() : points.front();
    const ContourPacket last = points.empty() ? ContourPacket() : points.back();
    std::vector<ContourPacket> sequence;
    sequence.push_back(ControllerFrames::packet(5, 0, first.xPosition, first.probeHeight, first.consoleHeight));
    for (ContourPacket point : points) {
        point.alarm = 2;
        point.status = 0;
        sequence.push_back(point);
    }
    sequence.push_back(ControllerFrames::packet(1, 0, last.xPosition, last.probeHeight, last.consoleHeight));
    return sequence;
}

void SimulatedController::setIdleOutput(int intervalMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_idleIntervalMs = intervalMs;
}

void SimulatedController::setIdleReading(uint16_t reading)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_idleReading = reading;
}

void SimulatedController::setIdlePacket(const ContourPacket& packet)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_idlePacket = packet;
}

void SimulatedController::setLineRatePacing(bool on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pacing = on;
    m_byteBudget = 0;
}

void SimulatedController::send(const std::string& bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    queueBytes(bytes);
}

void SimulatedController::stall(int ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Segment pause;
    pause.kind = Segment::Pause;
    pause.pauseMs = ms;
    m_output.push_back(pause);
}

void SimulatedController::vanish()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Segment end;
    end.kind = Segment::Vanish;
    m_output.push_back(end);
}

bool SimulatedController::waitUntilSent(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_output.empty(); });
}

std::vector<std::string> SimulatedController::commands() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_commands;
}

std::string SimulatedController::receivedBytes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

int SimulatedController::commandCount(const std::string& command) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(std::count(m_commands.begin(), m_commands.end(), command));
}

bool SimulatedController::waitForCommand(const std::string& command, int timeoutMs, int occurrence)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return std::count(m_commands.begin(), m_commands.end(), command) >= occurrence;
    });
}

std::optional<DeviceParameterRecord> SimulatedController::uploadedRecord() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_uploadedRecord;
}

void SimulatedController::clearReceived()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_commands.clear();
    m_received.clear();
}

void SimulatedController::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping && !m_vanished) {
        const bool busy = !m_output.empty() && !m_pauseEnd && !m_pacing;
        lock.unlock();
        const std::string input = m_pty->readMaster(4096, busy ? 0 : 2);
        lock.lock();
        const Clock::time_point now = Clock::now();
        takeInput(input, now);
        queueIdleOutput(now);
        if (writeDue(now))
            m_changed.notify_all();
    }
    m_changed.notify_all();
}

void SimulatedController::takeInput(const std::string& bytes, Clock::time_point now)
{
    if (!bytes.empty()) {
        m_received += bytes;
        m_pendingInput += bytes;
        m_lastInput = now;
    }
    const bool quiet = now - m_lastInput >= std::chrono::milliseconds(kCommandGapMs);
    const std::size_t before = m_commands.size();
    splitCommands(quiet);
    if (m_commands.size() != before)
        m_changed.notify_all();
}

void SimulatedController::splitCommands(bool flushAll)
{
    std::string unknown;
    const auto flushUnknown = [&] {
        if (!unknown.empty())
            onCommand(std::exchange(unknown, std::string()));
    };
    while (!m_pendingInput.empty()) {
        const std::size_t length = commandLength(m_pendingInput);
        if (length == kIncomplete && !flushAll)
            break;
        if (length == kNoCommand) {
            unknown += m_pendingInput.front();
            m_pendingInput.erase(0, 1);
            continue;
        }
        flushUnknown();
        const std::size_t take = std::min(length, m_pendingInput.size());
        onCommand(m_pendingInput.substr(0, take));
        m_pendingInput.erase(0, take);
    }
    flushUnknown();
}

void SimulatedController::onCommand(const std::string& command)
{
    m_commands.push_back(command);
    if (command == DeviceCommands::kIdentify) {
        if (!m_identityReply.empty())
            queueBytes(m_identityReply);
        return;
    }
    if (command.size() == kParameterUploadSize && command[0] == 'O') {
        m_uploadedRecord = DeviceParameterRecord::fromBytes(std::string_view(command).substr(1));
        return;
    }
    if (command.size() == 3 && command[0] == 'D') {
        onJog(command);
        return;
    }
    if (m_family == Family::Profile)
        onProfileCommand(command);
    else
        onContourCommand(command);
}

void SimulatedController::onProfileCommand(const std::string& command)
{
    if (command == "CS")
        startProfileTrace();
    else if (command == DeviceCommands::kStopTrace)
        dropTrace();
    else if (command == DeviceCommands::kAutoMinMaxCalib && m_profileTraceOpen && m_profileTrace.answersStop)
        queueProfileBlock();
}

void SimulatedController::onContourCommand(const std::string& command)
{
    if (command == DeviceCommands::kReadParameters) {
        queueBytes(m_parameterReply);
    } else if (isContourStart(command)) {
        queueContourPackets(m_contourTrace, true);
    } else if (command == DeviceCommands::kStopTrace) {
        dropTrace();
    } else if (command == DeviceCommands::kAcknowledge) {
        m_idlePacket.alarm = 0;
        m_idlePacket.status = 0;
        queueContourPackets({m_idlePacket}, false);
    } else if (command == DeviceCommands::kContourCalibration) {
        std::vector<ContourPacket> steps;
        for (int status : {1, 2, 3, 4, 5, 107, 108, 109})
            steps.push_back(ControllerFrames::packet(10, status, m_idlePacket.xPosition, m_idlePacket.probeHeight,
                                                     m_idlePacket.consoleHeight));
        queueContourPackets(steps, false);
    }
}

void SimulatedController::startProfileTrace()
{
    const ProfileTrace& trace = m_profileTrace;
    queueBytes(ControllerFrames::startFrame(trace.total.value_or(uint16_t(trace.points.size()))), true);
    for (uint16_t point : trace.points)
        queueBytes(ControllerFrames::pointFrame(point), true);
    m_profileTraceOpen = true;
    if (trace.endsByItself)
        queueProfileBlock();
}

void SimulatedController::queueProfileBlock()
{
    const ProfileTrace& trace = m_profileTrace;
    const uint16_t total = trace.total.value_or(uint16_t(trace.blockSamples.size()));
    queueBytes(ControllerFrames::blockTransfer(trace.blockSamples, trace.step, total, trace.announcedSamples));
    m_profileTraceOpen = false;
}

void SimulatedController::queueContourPackets(const std::vector<ContourPacket>& packets, bool partOfTrace)
{
    for (const ContourPacket& packet : packets) {
        queueBytes(ControllerFrames::contourPacket(packet), partOfTrace);
        m_idlePacket.alarm = packet.alarm;
        m_idlePacket.status = packet.status;
    }
}

void SimulatedController::dropTrace()
{
    const auto begin = m_output.empty() || m_output.front().written == 0 ? m_output.begin() : m_output.begin() + 1;
    m_output.erase(std::remove_if(begin, m_output.end(), [](const Segment& s) { return s.partOfTrace; }), m_output.end());
}

void SimulatedController::queueBytes(std::string bytes, bool partOfTrace)
{
    if (bytes.empty())
        return;
    Segment segment;
    segment.bytes = std::move(bytes);
    segment.partOfTrace = partOfTrace;
    m_output.push_back(std::move(segment));
}

// "DX-" drives towards larger x, "DX+" back; "DZ+" lifts.
void SimulatedController::onJog(const std::string& command)
{
    const int direction = command[2] == '+' ? 1 : command[2] == '-' ? -1 : 0;
    if (command[1] == 'X')
        m_jogX = -direction;
    else if (command[1] == 'Z')
        m_jogZ = direction;
}

void SimulatedController::applyJog()
{
    m_idlePacket.xPosition = std::max(0, m_idlePacket.xPosition + m_jogX * kJogStep);
    m_idlePacket.probeHeight += m_jogZ * kJogStep;
    m_idlePacket.consoleHeight += m_jogZ * kJogStep;
    m_idleReading = uint16_t(std::clamp(m_idleReading + m_jogZ * kJogStep, 0, 65535));
}

void SimulatedController::queueIdleOutput(Clock::time_point now)
{
    if (m_idleIntervalMs <= 0 || !m_output.empty() || now - m_lastIdleOutput < std::chrono::milliseconds(m_idleIntervalMs))
        return;
    m_lastIdleOutput = now;
    applyJog();
    if (m_family == Family::Profile)
        queueBytes(ControllerFrames::zeroFrame(m_idleReading));
    else
        queueBytes(ControllerFrames::contourPacket(m_idlePacket));
}

// Writes what is due now; true when a segment was finished.
bool SimulatedController::writeDue(Clock::time_point now)
{
    if (m_pacing) {
        const std::chrono::duration<double> elapsed = now - m_lastWrite;
        m_byteBudget = std::min(kMaxPacedBurst, m_byteBudget + elapsed.count() * kLineBytesPerSecond);
    }
    m_lastWrite = now;
    bool finished = false;
    while (!m_output.empty()) {
        Segment& segment = m_output.front();
        if (segment.kind == Segment::Vanish) {
            closeLine();
            m_output.clear();
            return true;
        }
        if (segment.kind == Segment::Pause) {
            if (!m_pauseEnd)
                m_pauseEnd = now + std::chrono::milliseconds(segment.pauseMs);
            if (now < *m_pauseEnd)
                return finished;
            m_pauseEnd.reset();
            m_output.pop_front();
            finished = true;
            continue;
        }
        std::size_t allowed = segment.bytes.size() - segment.written;
        if (m_pacing)
            allowed = std::min(allowed, std::size_t(m_byteBudget));
        allowed = std::min(allowed, kUnpacedWriteSize);
        if (allowed == 0)
            return finished;
        const ssize_t n = ::write(m_pty->masterFd(), segment.bytes.data() + segment.written, allowed);
        if (n <= 0)
            return finished;
        segment.written += std::size_t(n);
        if (m_pacing)
            m_byteBudget -= double(n);
        if (segment.written < segment.bytes.size())
            return finished;
        m_output.pop_front();
        finished = true;
    }
    return finished;
}

// Only the far end closes: the host's reads fail and the port path is gone.
// The slave descriptor that the pair keeps holds the terminal's number until
// the controller stops, so no pseudo-terminal opened meanwhile (by a parallel
// test) takes over the vanished path.
void SimulatedController::closeLine()
{
    m_pty->closeMaster();
    m_vanished = true;
}
