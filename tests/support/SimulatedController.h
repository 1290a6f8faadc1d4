#pragma once

#include "ContourPacket.h"
#include "DeviceParameterRecord.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class PtyPair;

// An instrument controller of either family on the far end of a
// pseudo-terminal, for tests of the instrument link. A worker thread reads
// and records the host's commands and answers them: identification,
// the parameter read and upload, the jog moves (seen in the idle output), the
// start and stop of a trace (a profile
// trace as point frames and a block transfer, a contour trace as packets
// through their status sequence) and the contour calibration. Everything
// else is recorded only. Tests script further output and faults: any bytes
// (garbage, short blocks), a stall of the line, a vanished device.
//
// The host opens portName() at 460800 baud. Output is written as fast as the
// host takes it unless line-rate pacing is on.
class SimulatedController
{
public:
    enum class Family { Profile, Contour };

    // What the profile controller sends after "CS".
    struct ProfileTrace
    {
        std::vector<uint16_t> points;       // point frames after the start frame
        std::vector<uint16_t> blockSamples; // the block transfer that ends the trace
        uint32_t step = 1000000;            // the converter's height step in the block
        std::optional<uint16_t> total;      // announced total; by default the number of points
        int announcedSamples = -1;          // samples the block announces; -1: all of blockSamples
        // The block follows the points by itself; otherwise only once the host
        // stops the trace ("CC", then "CV").
        bool endsByItself = true;
        // False: a trace that does not end by itself stays unanswered, the
        // controller falling silent after its points (a cable half out).
        bool answersStop = true;
    };

    // 460800 baud with a start and a stop bit.
    static constexpr int kLineBytesPerSecond = 46080;
    // A digit run at the end of what arrived counts as complete after this gap.
    static constexpr int kCommandGapMs = 20;
    // How far a running jog moves the idle output per idle reading: the stage
    // position x, and the heights (contour) or the reading (profile) for Z.
    static constexpr int kJogStep = 100;

    explicit SimulatedController(Family family);
    ~SimulatedController();

    SimulatedController(const SimulatedController&) = delete;
    SimulatedController& operator=(const SimulatedController&) = delete;

    // Opens a new pseudo-terminal and starts answering; throws
    // std::runtime_error when no pseudo-terminal can be had.
    void start();
    // Stops the worker and closes the pseudo-terminal.
    void stop();
    bool isRunning() const;
    // The path the host opens.
    std::string portName() const;
    Family family() const { return m_family; }

    // The answer to "CP"; empty: the controller never answers. By default
    // "OK" (profile) or "Zeta_581_R2" (contour).
    void setIdentityReply(const std::string& reply);
    // The contour controller's answer to "CO": "AAA" and the record.
    void setParameterRecord(const DeviceParameterRecord& record);
    // Replaces that answer by any bytes.
    void setParameterReply(const std::string& bytes);
    void setProfileTrace(const ProfileTrace& trace);
    // The packets the contour controller sends after a start command.
    void setContourTrace(const std::vector<ContourPacket>& packets);
    // A trace as the contour controller runs it: preparation (alarm 5), the
    // points with alarm 2 (recording) and the end of the trace (alarm 1).
    static std::vector<ContourPacket> contourTraceSequence(const std::vector<ContourPacket>& points);

    // While nothing else is to be sent, send an idle reading every intervalMs
    // (0: never): a zero frame of the profile controller, a packet with the
    // contour controller's current alarm and status bytes.
    void setIdleOutput(int intervalMs);
    void setIdleReading(uint16_t reading);
    // The heights and position of the contour controller's idle packets.
    void setIdlePacket(const ContourPacket& packet);
    // Sends no faster than the serial line would.
    void setLineRatePacing(bool on);

    // Script: queued in order after what is queued already.
    void send(const std::string& bytes);
    void stall(int ms);
    // After the queued output, the controller's end of the pseudo-terminal
    // closes: the host's reads fail and the port path is gone. The path stays
    // unused by other pseudo-terminals until the controller stops.
    void vanish();
    // Waits until everything queued has been written.
    bool waitUntilSent(int timeoutMs);

    // The host's commands, split as the protocol gives them; bytes that form
    // no command are kept together as one entry.
    std::vector<std::string> commands() const;
    std::string receivedBytes() const;
    int commandCount(const std::string& command) const;
    // Waits until the command has arrived `occurrence` times in all.
    bool waitForCommand(const std::string& command, int timeoutMs, int occurrence = 1);
    // The record of the last parameter upload.
    std::optional<DeviceParameterRecord> uploadedRecord() const;
    void clearReceived();

private:
    struct Segment
    {
        enum Kind { Bytes, Pause, Vanish };
        Kind kind = Bytes;
        std::string bytes;
        std::size_t written = 0;
        int pauseMs = 0;
        bool partOfTrace = false; // dropped when the host stops the trace
    };
    using Clock = std::chrono::steady_clock;

    void run();
    void takeInput(const std::string& bytes, Clock::time_point now);
    void splitCommands(bool flushAll);
    void onCommand(const std::string& command);
    void onProfileCommand(const std::string& command);
    void onContourCommand(const std::string& command);
    void startProfileTrace();
    void queueProfileBlock();
    void queueContourPackets(const std::vector<ContourPacket>& packets, bool partOfTrace);
    void dropTrace();
    void queueBytes(std::string bytes, bool partOfTrace = false);
    void onJog(const std::string& command);
    void applyJog();
    void queueIdleOutput(Clock::time_point now);
    bool writeDue(Clock::time_point now);
    void closeLine();

    const Family m_family;
    std::unique_ptr<PtyPair> m_pty;
    std::thread m_worker;
    bool m_stopping = false;
    bool m_vanished = false;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;

    std::string m_identityReply;
    std::string m_parameterReply;
    ProfileTrace m_profileTrace;
    bool m_profileTraceOpen = false;
    std::vector<ContourPacket> m_contourTrace;
    ContourPacket m_idlePacket;
    uint16_t m_idleReading = 0;
    int m_idleIntervalMs = 0;
    int m_jogX = 0; // -1, 0 or 1: the direction of x
    int m_jogZ = 0;
    Clock::time_point m_lastIdleOutput;
    bool m_pacing = false;
    double m_byteBudget = 0;
    Clock::time_point m_lastWrite;
    std::optional<Clock::time_point> m_pauseEnd;
    std::deque<Segment> m_output;

    std::string m_received;
    std::string m_pendingInput;
    Clock::time_point m_lastInput;
    std::vector<std::string> m_commands;
    std::optional<DeviceParameterRecord> m_uploadedRecord;
};
