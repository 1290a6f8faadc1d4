#include "ContourPacketDecoder.h"
#include "ContourPacketHandler.h"
#include "ContourPointFilter.h"
#include "ContourStatusMachine.h"
#include "DemoCycle.h"

#include "ActionText.h"
#include "ControllerFrames.h"
#include "TestMain.h"

#include <algorithm>

Q_DECLARE_METATYPE(std::vector<std::string>)

namespace {

ContourPacket packet(int alarm, int status, int32_t x = 100, int32_t probe = 500, int32_t console = 1000)
{
    return ControllerFrames::packet(alarm, status, x, probe, console);
}

// Reads the stream as the link does; an empty string stands for a read that
// timed out, which cuts a packet short.
QList<int> decodedPositions(const std::vector<std::string>& reads)
{
    ContourPacketDecoder decoder;
    std::vector<ContourPacket> packets;
    for (const std::string& stream : reads) {
        std::size_t position = 0;
        do {
            const std::size_t size = std::min(decoder.bytesWanted(), stream.size() - position);
            decoder.decode(std::string_view(stream).substr(position, size), packets);
            position += size;
        } while (position < stream.size());
    }
    QList<int> positions;
    for (const ContourPacket& p : packets)
        positions << p.xPosition;
    return positions;
}

QStringList handle(ContourPacketHandler& handler, const ContourPacket& p, bool demo = false)
{
    DeviceActions out;
    handler.handlePacket(p, demo, out);
    return actionText(out);
}

// The actions of a packet that is not a point.
QStringList barOnly(const ContourPacket& p)
{
    return {QStringLiteral("setBarValue(%1)").arg(p.consoleHeight)};
}

// The actions of a packet that is a point.
QStringList barAndPoint(const ContourPacket& p)
{
    return barOnly(p) << QStringLiteral("dataRecieved(%1, %2, %3, 8)").arg(p.probeHeight).arg(p.consoleHeight).arg(p.xPosition);
}

} // namespace

class ContourPacketTest : public QObject
{
    Q_OBJECT

private slots:
    void packetFields();
    void decoderResynchronises_data();
    void decoderResynchronises();
    void statusMachine_data();
    void statusMachine();
    void calibrationStepTexts();
    void pointFilter_data();
    void pointFilter();
    void positionGoingBackIsComparedWithTheLowerValue();
    void changeDetection();
    void recordingFollowsTheAlarm();
    void calibrationEndIsAcknowledgedWithEveryPacket();
    void resetMakesTheNextPacketAChange();
    void demoCycle();
    void demoAlarmHandler_data();
    void demoAlarmHandler();
    void demoReturnWithoutAFirstPass();
};

void ContourPacketTest::packetFields()
{
    const std::string bytes = hexBytes("42 FB FF FF FF 40 E2 01 00 56 34 FE 07 C8");
    std::vector<ContourPacket> packets;
    ContourPacketDecoder decoder;
    decoder.decode(bytes, packets);
    QCOMPARE(packets.size(), std::size_t(1));
    QCOMPARE(packets[0].probeHeight, -5);
    QCOMPARE(packets[0].consoleHeight, 123456);
    QCOMPARE(packets[0].xPosition, 0xFE3456);
    QCOMPARE(packets[0].status, 7);
    QCOMPARE(packets[0].alarm, 200);
}

void ContourPacketTest::decoderResynchronises_data()
{
    QTest::addColumn<std::vector<std::string>>("reads");
    QTest::addColumn<QList<int>>("positions");

    const std::string first = ControllerFrames::contourPacket(packet(0, 0, 1));
    const std::string second = ControllerFrames::contourPacket(packet(0, 0, 2));
    QTest::newRow("back to back") << std::vector<std::string>{first + second} << QList<int>{1, 2};
    QTest::newRow("garbage before and between")
        << std::vector<std::string>{"\x01xyz" + first + std::string("\0\x07", 2) + second} << QList<int>{1, 2};
    QTest::newRow("a B inside a packet is data")
        << std::vector<std::string>{ControllerFrames::contourPacket(packet('B', 'B', 0x424242, 0x42424242, 0x42424242)) + second}
        << QList<int>{0x424242, 2};
    QTest::newRow("short packet is dropped")
        << std::vector<std::string>{first.substr(0, 9), "", second} << QList<int>{2};
    QTest::newRow("a B in a dropped packet starts nothing")
        << std::vector<std::string>{"B\x05\x06" "BBB", "", "\x01\x02" + second} << QList<int>{2};
    QTest::newRow("quiet line between packets") << std::vector<std::string>{first, "", "", second} << QList<int>{1, 2};
    QTest::newRow("packet missing its last byte")
        << std::vector<std::string>{first.substr(0, 13), "", first, second} << QList<int>{1, 2};
}

void ContourPacketTest::decoderResynchronises()
{
    QFETCH(std::vector<std::string>, reads);
    QFETCH(QList<int>, positions);
    QCOMPARE(decodedPositions(reads), positions);
}

void ContourPacketTest::statusMachine_data()
{
    QTest::addColumn<int>("alarm");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<bool>("recording");

    const QString search = QStringLiteral("Идёт поиск максимума на поверхности");
    const QString calibration = QStringLiteral("Идёт калибровка");
    QTest::newRow("0") << 0 << 3 << QStringList{"normalStatus"} << false;
    QTest::newRow("1") << 1 << 0 << QStringList{"send CA", "pushButtonStopTrace"} << false;
    QTest::newRow("101") << 101 << 0 << QStringList{"send CA", "pushButtonStopTrace"} << false;
    QTest::newRow("2") << 2 << 0 << QStringList{"pushButtonStartTrace"} << true;
    QTest::newRow("102") << 102 << 5 << QStringList{"pushButtonStartTrace"} << true;
    QTest::newRow("3") << 3 << 0 << QStringList{"needCalibration"} << false;
    QTest::newRow("103") << 103 << 0 << QStringList{"needCalibration"} << false;
    QTest::newRow("4") << 4 << 0 << QStringList{"send CA", "clearTracing", "crashDevice"} << false;
    for (int alarm : {5, 7, 9, 105, 107, 108, 109})
        QTest::addRow("%d", alarm) << alarm << 0 << QStringList{"prepareTrace"} << false;
    for (int alarm : {6, 100, 106})
        QTest::addRow("%d", alarm) << alarm << 0 << QStringList{"prepareTrace"} << true;
    QTest::newRow("8, status 0 opens the loader")
        << 8 << 0 << QStringList{"openLoader", "setStatusProgressBar(0, 100, " + search + ", )", "prepareTrace"} << false;
    QTest::newRow("8, status 40")
        << 8 << 40 << QStringList{"setStatusProgressBar(40, 100, " + search + ", )", "prepareTrace"} << false;
    QTest::newRow("10, status 1 opens the loader")
        << 10 << 1
        << QStringList{"openLoader", "setStatusProgressBar(1, 109, " + calibration + ", Отвод контурографа от поверхности)",
                       "prepareTrace"}
        << false;
    QTest::newRow("10, status 109")
        << 10 << 109 << QStringList{"setStatusProgressBar(109, 109, " + calibration + ", Калибровка завершена)", "prepareTrace"}
        << false;
    QTest::newRow("110, status 109") << 110 << 109 << QStringList{"prepareTrace", "send CA"} << false;
    QTest::newRow("110, status 108") << 110 << 108 << QStringList{"prepareTrace"} << false;
    for (int alarm : {11, 50, 99, 104, 111, 255})
        QTest::addRow("%d does nothing", alarm) << alarm << 0 << QStringList() << false;
}

void ContourPacketTest::statusMachine()
{
    QFETCH(int, alarm);
    QFETCH(int, status);
    QFETCH(QStringList, actions);
    QFETCH(bool, recording);
    DeviceActions out;
    QCOMPARE(ContourStatusMachine::processStatus(alarm, status, out), recording);
    QCOMPARE(actionText(out), actions);
}

void ContourPacketTest::calibrationStepTexts()
{
    QCOMPARE(ContourStatusMachine::calibrationStepText(107), QStringLiteral("Отвод контурографа от поверхности"));
    QCOMPARE(ContourStatusMachine::calibrationStepText(2), QStringLiteral("Поиск максимума показания датчика"));
    QCOMPARE(ContourStatusMachine::calibrationStepText(3), QStringLiteral("Поиск минимума показания датчика"));
    QCOMPARE(ContourStatusMachine::calibrationStepText(4), QStringLiteral("Настройка силы прижима иглы"));
    QCOMPARE(ContourStatusMachine::calibrationStepText(5), QStringLiteral("Подвод контурографа к поверхности до касания"));
    QCOMPARE(ContourStatusMachine::calibrationStepText(108), QStringLiteral("Опускание контурографа до центра диапазона датчика"));
    QCOMPARE(ContourStatusMachine::calibrationStepText(6), QStringLiteral("Калибровка датчика"));
}

void ContourPacketTest::pointFilter_data()
{
    QTest::addColumn<bool>("recordingAllowed");
    QTest::addColumn<int>("previousX");
    QTest::addColumn<int>("probe");
    QTest::addColumn<int>("console");
    QTest::addColumn<int>("x");
    QTest::addColumn<bool>("isPoint");

    QTest::newRow("plain point") << true << 100 << 500 << 1000 << 150 << true;
    QTest::newRow("recording not allowed") << false << 100 << 500 << 1000 << 150 << false;
    QTest::newRow("console height 9") << true << 100 << 500 << 9 << 150 << false;
    QTest::newRow("console height 10") << true << 100 << 500 << 10 << 150 << true;
    QTest::newRow("negative console height") << true << 100 << 500 << -5 << 150 << false;
    QTest::newRow("probe height 2000000") << true << 100 << 2000000 << 1000 << 150 << true;
    QTest::newRow("probe height 2000001") << true << 100 << 2000001 << 1000 << 150 << false;
    QTest::newRow("negative probe height") << true << 100 << -2000001 << 1000 << 150 << true;
    QTest::newRow("x 2000000") << true << 100 << 500 << 1000 << 2000000 << true;
    QTest::newRow("x 2000001") << true << 100 << 500 << 1000 << 2000001 << false;
    QTest::newRow("x equal to the previous") << true << 100 << 500 << 1000 << 100 << true;
    QTest::newRow("x below the previous") << true << 100 << 500 << 1000 << 99 << false;
}

void ContourPacketTest::pointFilter()
{
    QFETCH(bool, recordingAllowed);
    QFETCH(int, previousX);
    QFETCH(int, probe);
    QFETCH(int, console);
    QFETCH(int, x);
    QFETCH(bool, isPoint);

    ContourPointFilter filter;
    DeviceActions out;
    filter.filter(packet(0, 0, previousX), false, out);
    out.clear();
    const ContourPacket p = packet(0, 0, x, probe, console);
    filter.filter(p, recordingAllowed, out);
    QCOMPARE(actionText(out), isPoint ? barAndPoint(p) : barOnly(p));
    QCOMPARE(filter.previousX(), x);
}

void ContourPacketTest::positionGoingBackIsComparedWithTheLowerValue()
{
    ContourPacketHandler handler;
    handle(handler, packet(6, 0, 500));
    QCOMPARE(handle(handler, packet(6, 0, 400)), barOnly(packet(6, 0, 400)));
    QCOMPARE(handle(handler, packet(6, 0, 450)), barAndPoint(packet(6, 0, 450)));
}

void ContourPacketTest::changeDetection()
{
    ContourPacketHandler handler;
    QCOMPARE(handle(handler, packet(11, 0)), barOnly(packet(11, 0)));
    QCOMPARE(handler.lastAlarm(), 11u);
    QCOMPARE(handle(handler, packet(0, 0)), QStringList{"normalStatus"} + barOnly(packet(0, 0)));
    QCOMPARE(handle(handler, packet(0, 0)), barOnly(packet(0, 0)));
    QCOMPARE(handle(handler, packet(0, 1)), QStringList{"normalStatus"} + barOnly(packet(0, 1)));
    QCOMPARE(handler.lastStatus(), 1u);
    QCOMPARE(handle(handler, packet(8, 1)),
             (QStringList{"setStatusProgressBar(1, 100, Идёт поиск максимума на поверхности, )", "prepareTrace"}
              + barOnly(packet(8, 1))));
}

void ContourPacketTest::recordingFollowsTheAlarm()
{
    ContourPacketHandler handler;
    QCOMPARE(handle(handler, packet(6, 0, 10)), QStringList{"prepareTrace"} + barAndPoint(packet(6, 0, 10)));
    QVERIFY(handler.recordingAllowed());
    QCOMPARE(handle(handler, packet(6, 0, 20)), barAndPoint(packet(6, 0, 20)));
    QCOMPARE(handle(handler, packet(0, 0, 30)), QStringList{"normalStatus"} + barOnly(packet(0, 0, 30)));
    QVERIFY(!handler.recordingAllowed());
    QCOMPARE(handle(handler, packet(2, 0, 40)), QStringList{"pushButtonStartTrace"} + barAndPoint(packet(2, 0, 40)));
    QCOMPARE(handle(handler, packet(1, 0, 50)), (QStringList{"send CA", "pushButtonStopTrace"} + barOnly(packet(1, 0, 50))));
}

void ContourPacketTest::calibrationEndIsAcknowledgedWithEveryPacket()
{
    ContourPacketHandler handler;
    const ContourPacket end10 = packet(10, 109);
    QCOMPARE(handle(handler, end10),
             (QStringList{"send CA", "setStatusProgressBar(109, 109, Идёт калибровка, Калибровка завершена)", "prepareTrace"}
              + barOnly(end10)));
    QCOMPARE(handle(handler, end10), QStringList{"send CA"} + barOnly(end10));

    const ContourPacket end110 = packet(110, 109);
    QCOMPARE(handle(handler, end110), (QStringList{"send CA", "prepareTrace", "send CA"} + barOnly(end110)));
    QCOMPARE(handle(handler, end110), QStringList{"send CA"} + barOnly(end110));
    QCOMPARE(handle(handler, packet(109, 109)), QStringList{"prepareTrace"} + barOnly(packet(109, 109)));
}

void ContourPacketTest::resetMakesTheNextPacketAChange()
{
    ContourPacketHandler handler;
    handle(handler, packet(6, 0, 700));
    handler.reset();
    QVERIFY(!handler.recordingAllowed());
    QCOMPARE(handler.pointFilter().previousX(), 0);
    QCOMPARE(handle(handler, packet(6, 0, 10)), QStringList{"prepareTrace"} + barAndPoint(packet(6, 0, 10)));
}

void ContourPacketTest::demoCycle()
{
    ContourPacketHandler handler;
    const auto step = [&handler](int alarm, int x, int probe) { return handle(handler, packet(alarm, 0, x, probe), true); };

    // Waiting: packets are no points until the controller starts.
    QCOMPARE(step(0, 50, 300), (QStringList{"normalStatus", "setBarValue(1000)"}));
    QCOMPARE(handler.demoCycle().demoState(), int(DemoCycle::WaitingForStart));
    QCOMPARE(step(2, 100, 300), (QStringList{"pushButtonStartTrace", "setBarValue(1000)", "dataRecieved(300, 1000, 100, 8)"}));

    // First pass: the extent is recorded.
    step(2, 100, 300);
    step(2, 200, 900);
    step(2, 300, 100);
    QCOMPARE(handler.demoCycle().demoLimits(),
             (QList<QList<int>>{{100, 1000, 300}, {300, 1000, 100}, {900}, {100}}));

    // The controller ends the pass: stop, then lift above 900 + 80 and return to x 100.
    QCOMPARE(step(1, 300, 100).mid(0, 2), (QStringList{"send CA", "pushButtonStopTrace"}));
    QCOMPARE(handler.demoCycle().demoState(), int(DemoCycle::Return));
    QCOMPARE(step(1, 300, 979).first(), QStringLiteral("send DZ+"));
    QCOMPARE(step(1, 300, 980).mid(0, 2), (QStringList{"send DZ0", "send DX+"}));
    QCOMPARE(step(1, 150, 1200).mid(0, 2), (QStringList{"send DZ0", "send DX+"}));
    QCOMPARE(step(1, 100, 1200).mid(0, 3), (QStringList{"send DZ0", "send DX0", "deleteAllTrace"}));
    QCOMPARE(handler.demoCycle().demoState(), int(DemoCycle::Restart));

    // Restart and the repeated pass up to the largest x of the first pass.
    QCOMPARE(step(1, 100, 300).first(), QStringLiteral("pushButtonStartTrace"));
    QCOMPARE(handler.demoCycle().demoState(), int(DemoCycle::RepeatedPass));
    QCOMPARE(step(1, 299, 300), (QStringList{"setBarValue(1000)", "dataRecieved(300, 1000, 299, 8)"}));
    QCOMPARE(step(1, 300, 300).mid(0, 2), (QStringList{"send CA", "pushButtonStopTrace"}));
    QCOMPARE(handler.demoCycle().demoState(), int(DemoCycle::Return));
    QVERIFY(handler.recordingAllowed());

    // A change of the status byte alone does not run the cycle's handler.
    const QStringList statusOnly = handle(handler, packet(1, 5, 300, 2000), true);
    QCOMPARE(statusOnly.first(), QStringLiteral("send DZ0"));
    QVERIFY(!statusOnly.contains(QStringLiteral("pushButtonStopTrace")));
    QCOMPARE(handler.lastStatus(), 5u);
}

void ContourPacketTest::demoAlarmHandler_data()
{
    QTest::addColumn<int>("alarm");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<int>("state");

    QTest::newRow("1 ends the pass") << 1 << QStringList{"send CA", "pushButtonStopTrace"} << int(DemoCycle::Return);
    QTest::newRow("0") << 0 << QStringList{"normalStatus"} << int(DemoCycle::WaitingForStart);
    for (int alarm = 5; alarm <= 9; ++alarm)
        QTest::addRow("%d", alarm) << alarm << QStringList{"prepareTrace"} << int(DemoCycle::WaitingForStart);
    for (int alarm : {2, 3, 4, 10, 101, 110})
        QTest::addRow("%d does nothing", alarm) << alarm << QStringList() << int(DemoCycle::WaitingForStart);
}

void ContourPacketTest::demoAlarmHandler()
{
    QFETCH(int, alarm);
    QFETCH(QStringList, actions);
    QFETCH(int, state);
    DemoCycle cycle;
    DeviceActions out;
    cycle.demoAlarmChanged(alarm, out);
    QCOMPARE(actionText(out), actions);
    QCOMPARE(cycle.demoState(), state);
}

void ContourPacketTest::demoReturnWithoutAFirstPass()
{
    // An end of pass before any start leaves the initial limits, which span 2e9.
    ContourPacketHandler handler;
    handle(handler, packet(1, 0, 5000, 0), true);
    QCOMPARE(handler.demoCycle().demoState(), int(DemoCycle::Return));
    QCOMPARE(handle(handler, packet(1, 0, 5000, 0), true).mid(0, 3), (QStringList{"send DZ0", "send DX0", "deleteAllTrace"}));
}

KALVORA_TEST_MAIN(ContourPacketTest)
#include "ContourPacketTest.moc"
