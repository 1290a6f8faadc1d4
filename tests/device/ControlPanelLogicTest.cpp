#include "ControlPanelState.h"
#include "DeviceCommands.h"
#include "DeviceStatusText.h"
#include "JogKeyLayout.h"
#include "TestMain.h"
#include "TraceTypes.h"

#include <functional>

using Start = ControlPanelState::Start;
using Step = std::function<void(ControlPanelState&)>;

Q_DECLARE_METATYPE(Start)
Q_DECLARE_METATYPE(Step)

namespace {

// The state as a short text: r recording, c calibration pending, l locked.
QString flags(const ControlPanelState& state)
{
    return QString(state.isRecording() ? "r" : "-") + (state.isCalibrationPending() ? "c" : "-") +
           (state.isLocked() ? "l" : "-");
}

} // namespace

// The rules of the control panel that need no widget: status texts, scan
// speeds, the jog-key layout and the recording state.
class ControlPanelLogicTest : public QObject
{
    Q_OBJECT

private slots:
    void statusTexts_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("console");
        QTest::addColumn<int>("probe");
        QTest::addColumn<int>("x");
        QTest::addColumn<QString>("text");
        const QString contour = QStringLiteral("Устройство /dev/pts/7 с показателями x: ");
        QTest::newRow("contour") << int(CONTOUR) << 3200000 << 250 << 12500
                                 << contour + QStringLiteral("12.5мм , z1: 0.25 мм, z2: 3.2 мм");
        QTest::newRow("contour, low console") << int(CONTOUR_PROFILE) << 900 << 250 << 12500
                                              << contour + QStringLiteral("12.5мм , z1: 0.25 мм, z2: 0 мм");
        QTest::newRow("contour, console exactly 1000")
            << int(CONTOUR) << 1000 << 250 << 12500 << contour + QStringLiteral("12.5мм , z1: 0.25 мм, z2: 0 мм");
        QTest::newRow("contour, six digits") << int(CONTOUR) << 1234567 << -1 << 1234567
                                             << contour + QStringLiteral("1234.57мм , z1: -0.001 мм, z2: 1.23457 мм");
        QTest::newRow("profile") << int(PROFILE) << 312 << 250 << 12500
                                 << QStringLiteral("Устройство /dev/pts/7 с показателем z: 312");
    }

    void statusTexts()
    {
        QFETCH(int, type);
        QFETCH(int, console);
        QFETCH(int, probe);
        QFETCH(int, x);
        QFETCH(QString, text);
        QCOMPARE(DeviceStatusText::readings(type, QStringLiteral("/dev/pts/7"), console, probe, x), text);
    }

    void connectionTexts()
    {
        QCOMPARE(DeviceStatusText::connected(QStringLiteral("/dev/ttyUSB0")),
                 QStringLiteral("Устройство /dev/ttyUSB0 соединено"));
        QCOMPARE(DeviceStatusText::notFound(), QStringLiteral("Устройство не найдено"));
    }

    void scanSpeeds()
    {
        const QVector<double> speeds = {0.0, 0.25, 0.5, 1.0, 2.0, 0.0};
        for (int index = -1; index <= 4; ++index)
            QCOMPARE(scanSpeedMmPerSecond(index), speeds[index + 1]);
        QCOMPARE(DeviceCommands::contourTypeForMeasurementMode(2), int(CONTOUR_PROFILE));
        for (int mode : {0, 1, 3})
            QCOMPARE(DeviceCommands::contourTypeForMeasurementMode(mode), int(CONTOUR));
    }

    void jogKeysTradeYAndZ()
    {
        using B = JogKeyLayout::Button;
        const QMap<int, B> plain = JogKeyLayout::keyMap(false);
        const QMap<int, B> alternative = JogKeyLayout::keyMap(true);
        QCOMPARE(plain.size(), 8);
        QVERIFY(!plain.contains(Qt::Key_Enter));
        for (const auto& map : {plain, alternative}) {
            QCOMPARE(map.value(Qt::Key_Left), B::XMinus);
            QCOMPARE(map.value(Qt::Key_Right), B::XPlus);
            QCOMPARE(map.value(Qt::Key_Return), B::StartTrace);
            QCOMPARE(map.value(Qt::Key_Space), B::StopTrace);
        }
        QCOMPARE(plain.value(Qt::Key_Up), B::ZPlus);
        QCOMPARE(plain.value(Qt::Key_Down), B::ZMinus);
        QCOMPARE(plain.value(Qt::Key_PageUp), B::YPlus);
        QCOMPARE(plain.value(Qt::Key_PageDown), B::YMinus);
        QCOMPARE(alternative.value(Qt::Key_Up), B::YPlus);
        QCOMPARE(alternative.value(Qt::Key_Down), B::YMinus);
        QCOMPARE(alternative.value(Qt::Key_PageUp), B::ZPlus);
        QCOMPARE(alternative.value(Qt::Key_PageDown), B::ZMinus);

        // Up and Down stand in column 1, Page Up and Page Down in column 5.
        for (bool alt : {false, true}) {
            const QMap<int, B> keys = JogKeyLayout::keyMap(alt);
            const auto cells = JogKeyLayout::movingCells(alt);
            QCOMPARE(cells.value(keys.value(Qt::Key_Up)), (JogKeyLayout::Cell{1, 1}));
            QCOMPARE(cells.value(keys.value(Qt::Key_Down)), (JogKeyLayout::Cell{3, 1}));
            QCOMPARE(cells.value(keys.value(Qt::Key_PageUp)), (JogKeyLayout::Cell{1, 5}));
            QCOMPARE(cells.value(keys.value(Qt::Key_PageDown)), (JogKeyLayout::Cell{3, 5}));
        }
    }

    void recordingState_data()
    {
        QTest::addColumn<Step>("steps");
        QTest::addColumn<QString>("after");

        const auto start = [](bool open) { return [open](ControlPanelState& s) { s.start(open); }; };
        QTest::newRow("start") << Step(start(true)) << "r-l";
        QTest::newRow("start without a port") << Step(start(false)) << "---";
        QTest::newRow("stop ends the recording, the lock stays") << Step([](ControlPanelState& s) {
            s.start(true);
            QVERIFY(s.stop(true));
        }) << "--l";
        QTest::newRow("stop without a port does nothing") << Step([](ControlPanelState& s) {
            s.start(true);
            QVERIFY(!s.stop(false));
        }) << "r-l";
        QTest::newRow("stop without a recording") << Step([](ControlPanelState& s) { QVERIFY(!s.stop(true)); })
                                                  << "---";
        QTest::newRow("prepare locks when idle") << Step([](ControlPanelState& s) { QVERIFY(s.prepare()); })
                                                 << "--l";
        QTest::newRow("prepare while recording") << Step([](ControlPanelState& s) {
            s.start(true);
            QVERIFY(!s.prepare());
        }) << "r-l";
        QTest::newRow("the end unlocks") << Step([](ControlPanelState& s) {
            s.start(true);
            s.end();
        }) << "---";
        QTest::newRow("calibration requested") << Step([](ControlPanelState& s) {
            s.start(true);
            s.requestCalibration();
        }) << "-c-";
        QTest::newRow("a pending calibration takes the next start") << Step([](ControlPanelState& s) {
            s.requestCalibration();
            QCOMPARE(s.start(true), Start::Calibrate);
        }) << "---";
        QTest::newRow("the additional trace ignores a pending calibration") << Step([](ControlPanelState& s) {
            s.requestCalibration();
            QCOMPARE(s.startAdditional(true), Start::Record);
        }) << "rcl";
        QTest::newRow("a second start only sends the settings") << Step([](ControlPanelState& s) {
            QCOMPARE(s.start(true), Start::Record);
            QCOMPARE(s.start(true), Start::SettingsOnly);
            QCOMPARE(s.startAdditional(true), Start::SettingsOnly);
        }) << "r-l";
        QTest::newRow("a lost link ends a recording") << Step([](ControlPanelState& s) {
            s.start(true);
            QVERIFY(s.loseLink());
        }) << "---";
        QTest::newRow("a lost link ends a lock") << Step([](ControlPanelState& s) {
            s.prepare();
            QVERIFY(s.loseLink());
        }) << "---";
        QTest::newRow("a lost link when idle") << Step([](ControlPanelState& s) { QVERIFY(!s.loseLink()); })
                                               << "---";
        QTest::newRow("a lost link keeps a pending calibration") << Step([](ControlPanelState& s) {
            s.requestCalibration();
            QVERIFY(!s.loseLink());
        }) << "-c-";
    }

    void recordingState()
    {
        QFETCH(Step, steps);
        QFETCH(QString, after);
        ControlPanelState state;
        steps(state);
        QCOMPARE(flags(state), after);
    }
};

KALVORA_TEST_MAIN(ControlPanelLogicTest)
#include "ControlPanelLogicTest.moc"
