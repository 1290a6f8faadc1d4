#include "ContourPacketDecoder.h"
#include "ContourPacketHandler.h"
#include "DeviceCommands.h"
#include "ProfileStreamDecoder.h"
#include "serial/Serial.h"

#include "ActionText.h"
#include "ControllerFrames.h"
#include "SimulatedController.h"
#include "TestMain.h"

#include <QElapsedTimer>

#include <functional>

using Family = SimulatedController::Family;

Q_DECLARE_METATYPE(SimulatedController::Family)

namespace {

constexpr uint32_t kReadTimeoutMs = 100;

// The host end, driven the way the instrument link drives it: each read asks
// for what the decoder wants and ends after a short time-out; the commands
// among the decoded actions go back to the controller.
class Host
{
public:
    explicit Host(const std::string& port)
        : m_port(port, 460800, serial::Timeout::simpleTimeout(kReadTimeoutMs))
    {
    }

    void send(const std::string& command) { m_port.write(command); }
    std::string read(std::size_t size) { return m_port.read(size); }

    void startTrace()
    {
        send("CS");
        m_tracing = true;
    }

    // Decodes until done() holds for the actions so far, or timeoutMs passed.
    bool runProfile(const std::function<bool(const DeviceActions&)>& done, int timeoutMs = 5000)
    {
        return run(done, timeoutMs, [this] {
            DeviceActions fresh;
            m_profile.decode(read(m_profile.bytesWanted()), m_tracing, fresh);
            return fresh;
        });
    }

    bool runContour(const std::function<bool(const DeviceActions&)>& done, int timeoutMs = 5000)
    {
        return run(done, timeoutMs, [this] {
            std::vector<ContourPacket> packets;
            m_packets.decode(read(m_packets.bytesWanted()), packets);
            DeviceActions fresh;
            for (const ContourPacket& packet : packets)
                m_contour.handlePacket(packet, false, fresh);
            return fresh;
        });
    }

    const DeviceActions& actions() const { return m_actions; }
    bool isTracing() const { return m_tracing; }

private:
    bool run(const std::function<bool(const DeviceActions&)>& done, int timeoutMs,
             const std::function<DeviceActions()>& readAndDecode)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done(m_actions)) {
            if (timer.elapsed() > timeoutMs)
                return false;
            for (const DeviceAction& action : readAndDecode()) {
                if (action.kind == DeviceAction::SendCommand)
                    send(action.text);
                if (action.kind == DeviceAction::ClearTracing)
                    m_tracing = false;
                m_actions.push_back(action);
            }
        }
        return true;
    }

    serial::Serial m_port;
    ProfileStreamDecoder m_profile;
    ContourPacketDecoder m_packets;
    ContourPacketHandler m_contour;
    DeviceActions m_actions;
    bool m_tracing = false;
};

std::function<bool(const DeviceActions&)> has(DeviceAction::Kind kind, int times = 1)
{
    return [kind, times](const DeviceActions& actions) {
        return std::count_if(actions.begin(), actions.end(), [kind](const DeviceAction& a) { return a.kind == kind; }) >= times;
    };
}

// The actions without the bar values and log lines, which follow every frame.
QStringList essentials(const DeviceActions& actions)
{
    DeviceActions kept;
    std::copy_if(actions.begin(), actions.end(), std::back_inserter(kept), [](const DeviceAction& a) {
        return a.kind != DeviceAction::SetBarValue && a.kind != DeviceAction::LogInfo;
    });
    return actionText(kept);
}

std::vector<uint16_t> ramp(int size)
{
    std::vector<uint16_t> values;
    for (int i = 0; i < size; ++i)
        values.push_back(uint16_t(i));
    return values;
}

} // namespace

class SimulatedControllerTest : public QObject
{
    Q_OBJECT

private slots:
    void identification_data();
    void identification();
    void silentControllerNeverAnswers();
    void commandsAreSplitAsTheProtocolGivesThem();
    void digitRunEndsWhenTheLineIsQuiet();
    void parameterReadAndUpload();
    void profileTraceAsPointFramesThenBlock();
    void stopMidTraceBringsTheBlock();
    void shortBlockEndsTheTrace();
    void idleZeroFramesAreAnswered();
    void jogMovesTheIdleOutput();
    void contourTraceThroughTheStatusSequence();
    void contourCalibration();
    void shortPacketAndGarbageAreSkipped();
    void stallKeepsTheLineQuiet();
    void lineRatePacing();
    void vanishedDevice();
};

void SimulatedControllerTest::identification_data()
{
    QTest::addColumn<Family>("family");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("profile") << Family::Profile << QByteArray("OK");
    QTest::newRow("contour") << Family::Contour << QByteArray("Zeta_581_R2");
}

void SimulatedControllerTest::identification()
{
    QFETCH(Family, family);
    QFETCH(QByteArray, reply);
    SimulatedController controller(family);
    controller.start();
    Host host(controller.portName());
    host.send(DeviceCommands::kConnect);
    host.send(DeviceCommands::kIdentify);
    QCOMPARE(QByteArray::fromStdString(host.read(20)), reply);
    QCOMPARE(controller.commands(), (std::vector<std::string>{"CM", "CP"}));
}

void SimulatedControllerTest::silentControllerNeverAnswers()
{
    SimulatedController controller(Family::Contour);
    controller.setIdentityReply({});
    controller.start();
    Host host(controller.portName());
    for (int i = 0; i < 3; ++i) {
        host.send(DeviceCommands::kIdentify);
        QCOMPARE(host.read(20), std::string());
    }
    QCOMPARE(controller.commandCount("CP"), 3);
}

void SimulatedControllerTest::commandsAreSplitAsTheProtocolGivesThem()
{
    using namespace DeviceCommands;
    SimulatedController controller(Family::Profile);
    controller.start();
    Host host(controller.portName());
    const std::string upload = parameterUpload(DeviceParameterRecord::fromCalibration(1, 1, 0, 1.15));
    const std::vector<std::string> sent{"CM", "CP", "Cq", filter(1), traceLength(1), speed(2, 0), pressingPower(1, 12),
                                        "KX02", "KZ05", "KR07", moveX(1), moveY(0), moveZ(-1), calibration(2, 1.005),
                                        mmPerRotation(2.5), speed(0, 3), upload, "C9", "hello", "\xD9\x31", "CT", "PL:"};
    std::string burst;
    for (const std::string& command : sent)
        burst += command;
    host.send(burst);
    QVERIFY(controller.waitForCommand("PL:", 2000));
    QCOMPARE(controller.commands(), sent);
    QCOMPARE(controller.receivedBytes(), burst);
}

void SimulatedControllerTest::digitRunEndsWhenTheLineIsQuiet()
{
    SimulatedController controller(Family::Contour);
    controller.start();
    Host host(controller.portName());
    // A digit run that ends the input is complete once the line stays quiet.
    host.send("Ka01000");
    QVERIFY(controller.waitForCommand("Ka01000", 2000));
    host.send("PF2SX1");
    QVERIFY(controller.waitForCommand("SX1", 2000));
    QCOMPARE(controller.commands(), (std::vector<std::string>{"Ka01000", "PF2", "SX1"}));
}

void SimulatedControllerTest::parameterReadAndUpload()
{
    SimulatedController controller(Family::Contour);
    const auto record = DeviceParameterRecord::fromCalibration(0.97, 1.02, -0.003, 1.5);
    controller.setParameterRecord(record);
    controller.start();
    Host host(controller.portName());

    host.send(DeviceCommands::kReadParameters);
    QCOMPARE(host.read(3), std::string("AAA"));
    const auto received = DeviceParameterRecord::fromBytes(host.read(DeviceParameterRecord::kByteSize));
    QVERIFY(received);
    QCOMPARE(received->values, record.values);

    const auto upload = DeviceParameterRecord::fromCalibration(1.1, 0.9, 0.5, -2);
    host.send(DeviceCommands::parameterUpload(upload));
    QVERIFY(controller.waitForCommand(DeviceCommands::parameterUpload(upload), 2000));
    QVERIFY(controller.uploadedRecord());
    QCOMPARE(controller.uploadedRecord()->values, upload.values);
}

void SimulatedControllerTest::profileTraceAsPointFramesThenBlock()
{
    SimulatedController controller(Family::Profile);
    SimulatedController::ProfileTrace trace;
    trace.points = {100, 0x4242, 0x5A54};
    trace.blockSamples = {0x0102, 0x0064};
    controller.setProfileTrace(trace);
    controller.start();
    Host host(controller.portName());
    host.startTrace();
    QVERIFY(host.runProfile(has(DeviceAction::PushButtonStopTrace)));
    const QStringList expected{"dataRecieved(100, 0, 0, 1)", "dataRecieved(16962, 0, 13333.33333, 1)",
                               "dataRecieved(23124, 0, 26666.66667, 1)", "dataReset",
                               "dataRecieved(2.58, 0, 0, 100)", "dataRecieved(1, 0, 500, 100)",
                               "clearTracing", "pushButtonStopTrace"};
    QCOMPARE(essentials(host.actions()), expected);
    QVERIFY(!host.isTracing());
}

void SimulatedControllerTest::stopMidTraceBringsTheBlock()
{
    SimulatedController controller(Family::Profile);
    SimulatedController::ProfileTrace trace;
    trace.points = ramp(5000);
    trace.blockSamples = ramp(300);
    trace.endsByItself = false;
    controller.setProfileTrace(trace);
    controller.setLineRatePacing(true);
    controller.start();
    Host host(controller.portName());
    host.startTrace();
    QVERIFY(host.runProfile(has(DeviceAction::DataRecieved, 20)));
    for (const DeviceAction& action : DeviceCommands::stopTrace(2))
        host.send(action.text);
    QVERIFY(host.isTracing());
    QVERIFY(host.runProfile(has(DeviceAction::PushButtonStopTrace)));

    const QStringList actions = essentials(host.actions());
    const int reset = actions.indexOf(QStringLiteral("dataReset"));
    QVERIFY(reset >= 20);
    QVERIFY(reset < 5000);
    QCOMPARE(actions.size() - reset, 1 + 300 + 2);
    QCOMPARE(actions[reset + 300], QStringLiteral("dataRecieved(2.99, 0, 996.6666667, 100)"));
}

void SimulatedControllerTest::shortBlockEndsTheTrace()
{
    SimulatedController controller(Family::Profile);
    SimulatedController::ProfileTrace trace;
    trace.blockSamples = ramp(10);
    trace.total = 128;
    trace.announcedSamples = 128;
    controller.setProfileTrace(trace);
    controller.start();
    Host host(controller.portName());
    host.startTrace();
    QVERIFY(host.runProfile(has(DeviceAction::PushButtonStopTrace)));
    const QStringList actions = essentials(host.actions());
    QCOMPARE(actions.size(), 1 + 10 + 2);
    QCOMPARE(actions[10], QStringLiteral("dataRecieved(0.09, 0, 70.3125, 100)"));
    QVERIFY(!host.isTracing());
}

void SimulatedControllerTest::idleZeroFramesAreAnswered()
{
    SimulatedController controller(Family::Profile);
    controller.setIdleReading(4660);
    controller.setIdleOutput(10);
    controller.start();
    Host host(controller.portName());
    QVERIFY(host.runProfile(has(DeviceAction::SendCommand, 3)));
    QVERIFY(controller.waitForCommand("CT", 2000, 3));
    QCOMPARE(actionText(host.actions()).mid(0, 2), (QStringList{"send CT", "setBarValue(60875)"}));
}

void SimulatedControllerTest::jogMovesTheIdleOutput()
{
    SimulatedController controller(Family::Contour);
    controller.setIdlePacket(ControllerFrames::packet(0, 0, 1000, 500, 2000));
    controller.setIdleOutput(5);
    controller.start();
    Host host(controller.portName());
    std::vector<ContourPacket> packets;
    ContourPacketDecoder decoder;
    const auto next = [&] {
        packets.clear();
        QElapsedTimer timer;
        timer.start();
        while (packets.empty() && timer.elapsed() < 3000)
            decoder.decode(host.read(decoder.bytesWanted()), packets);
        return packets.empty() ? ContourPacket() : packets.front();
    };

    // Packets sent before a command arrived may still be on the line: read on
    // until the move shows.
    const auto nextWhere = [&](const std::function<bool(const ContourPacket&)>& wanted) {
        ContourPacket packet = next();
        for (int i = 0; i < 200 && !wanted(packet); ++i)
            packet = next();
        return packet;
    };

    const ContourPacket start = next();
    host.send(DeviceCommands::moveX(1));
    host.send(DeviceCommands::moveZ(1));
    const ContourPacket moved = nextWhere([&](const ContourPacket& p) {
        return p.xPosition > start.xPosition && p.consoleHeight > start.consoleHeight;
    });
    QVERIFY(moved.xPosition > start.xPosition);
    QVERIFY(moved.consoleHeight > start.consoleHeight);
    QVERIFY(moved.probeHeight > start.probeHeight);

    host.send(DeviceCommands::moveX(-1));
    host.send(DeviceCommands::moveZ(0));
    QVERIFY(controller.waitForCommand("DZ0", 2000));
    // Then x falls while the heights stay.
    ContourPacket previous = next();
    bool wentBack = false;
    for (int i = 0; i < 200 && !wentBack; ++i) {
        const ContourPacket packet = next();
        wentBack = packet.xPosition < previous.xPosition && packet.consoleHeight == previous.consoleHeight;
        previous = packet;
    }
    QVERIFY(wentBack);
}

void SimulatedControllerTest::contourTraceThroughTheStatusSequence()
{
    SimulatedController controller(Family::Contour);
    controller.setContourTrace(SimulatedController::contourTraceSequence(
        {ControllerFrames::packet(0, 0, 10, 500, 1000), ControllerFrames::packet(0, 0, 20, 0x42424242, 1000),
         ControllerFrames::packet(0, 0, 30, 700, 1000)}));
    controller.start();
    Host host(controller.portName());
    controller.send("\x07garbage\xFF");
    host.startTrace();
    QVERIFY(host.runContour(has(DeviceAction::NormalStatus)));
    const QStringList expected{"prepareTrace", "pushButtonStartTrace", "dataRecieved(500, 1000, 10, 8)",
                               "dataRecieved(700, 1000, 30, 8)", "send CA", "pushButtonStopTrace", "normalStatus"};
    QCOMPARE(essentials(host.actions()), expected);
    QCOMPARE(controller.commands(), (std::vector<std::string>{"CS", "CA"}));
}

void SimulatedControllerTest::contourCalibration()
{
    SimulatedController controller(Family::Contour);
    controller.start();
    Host host(controller.portName());
    host.send(DeviceCommands::calibration(0, 1));
    QVERIFY(host.runContour(has(DeviceAction::NormalStatus)));
    const QStringList actions = essentials(host.actions());
    QCOMPARE(actions.first(), QStringLiteral("openLoader"));
    QCOMPARE(actions.filter(QStringLiteral("setStatusProgressBar")).size(), 8);
    QCOMPARE(actions.mid(actions.size() - 4),
             (QStringList{"send CA", "setStatusProgressBar(109, 109, Идёт калибровка, Калибровка завершена)",
                          "prepareTrace", "normalStatus"}));
    QCOMPARE(controller.commands(), (std::vector<std::string>{"CK", "CA"}));
}

void SimulatedControllerTest::shortPacketAndGarbageAreSkipped()
{
    SimulatedController controller(Family::Contour);
    controller.start();
    const std::string packet = ControllerFrames::contourPacket(ControllerFrames::packet(6, 0, 40, 300, 900));
    controller.send(packet.substr(0, 6));
    controller.stall(int(kReadTimeoutMs) * 2);
    controller.send("\xFF\x00" + packet);
    Host host(controller.portName());
    QVERIFY(host.runContour(has(DeviceAction::DataRecieved)));
    QCOMPARE(essentials(host.actions()), (QStringList{"prepareTrace", "dataRecieved(300, 900, 40, 8)"}));
}

void SimulatedControllerTest::stallKeepsTheLineQuiet()
{
    SimulatedController controller(Family::Profile);
    controller.start();
    Host host(controller.portName());
    controller.send("a");
    controller.stall(300);
    controller.send("b");
    QCOMPARE(host.read(1), std::string("a"));
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(host.read(1), std::string());
    std::string next;
    while (next.empty() && timer.elapsed() < 3000)
        next = host.read(1);
    QCOMPARE(next, std::string("b"));
    QVERIFY(timer.elapsed() >= 250);
}

void SimulatedControllerTest::lineRatePacing()
{
    SimulatedController controller(Family::Profile);
    controller.setLineRatePacing(true);
    controller.start();
    Host host(controller.portName());
    const std::string bytes(SimulatedController::kLineBytesPerSecond / 10, 'x');
    QElapsedTimer timer;
    timer.start();
    controller.send(bytes);
    std::string received;
    while (received.size() < bytes.size() && timer.elapsed() < 5000)
        received += host.read(bytes.size() - received.size());
    QCOMPARE(received, bytes);
    QVERIFY2(timer.elapsed() >= 90, qPrintable(QString::number(timer.elapsed())));
}

void SimulatedControllerTest::vanishedDevice()
{
    SimulatedController controller(Family::Contour);
    controller.start();
    const std::string port = controller.portName();
    {
        Host host(port);
        controller.send("B");
        controller.stall(int(kReadTimeoutMs));
        controller.vanish();
        QCOMPARE(host.read(1), std::string("B"));
        QVERIFY(controller.waitUntilSent(2000));
        QVERIFY_EXCEPTION_THROWN(host.read(1), serial::IOException);
        QVERIFY(!controller.isRunning());
    }
    QVERIFY_EXCEPTION_THROWN(serial::Serial(port, 460800), serial::IOException);
}

KALVORA_TEST_MAIN(SimulatedControllerTest)
#include "SimulatedControllerTest.moc"
