#include "LinkTestSupport.h"
#include "LogTexts.h"
#include "TestMain.h"

#include <functional>

using Commands = std::vector<std::string>;
using Action = std::function<void(Device&)>;

Q_DECLARE_METATYPE(Commands)
Q_DECLARE_METATYPE(Action)

namespace {

// Sent after a row's actions: once it has arrived, so has everything before it.
const std::string kSentinel = "CZ";

void changeSettings(const std::function<void(AppSettings&)>& change)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    change(settings);
}

} // namespace

// The operator's commands through the link to a contour controller: the bytes
// each slot sends, where it takes the controller type from, what it logs and
// what it does to the tracing flag.
class DeviceSlotsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_link = std::make_unique<Link>(SimulatedController::Family::Contour);
        QVERIFY(m_link->connect());
        QCOMPARE(int(m_link->device->type()), int(CONTOUR));
        // The controller answers "CA" with a packet at rest. The first one
        // is a change of state; later ones are not and leave the device alone.
        SignalCount normal(*m_link->device, &Device::normalStatus);
        m_link->device->sendCommand("CA");
        QVERIFY(QTest::qWaitFor([&] { return normal.count() == 1; }, 5000));
    }

    void cleanupTestCase() { m_link.reset(); }

    void slotSendsAndLogs_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<Commands>("commands");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<bool>("tracing");

        QTest::newRow("jog keys") << Action([](Device& d) {
            d.moveX(1);
            d.moveX(0);
            d.moveY(-5);
            d.moveZ(1);
        }) << Commands{"DX-", "DX0", "DY-", "DZ+"} << QStringList() << false;
        QTest::newRow("stop while not tracing") << Action([](Device& d) { d.stopTrace(); }) << Commands()
                                                << QStringList() << false;
        QTest::newRow("start and stop on a contour controller") << Action([](Device& d) {
            changeSettings([](AppSettings& s) { s.device.measurement_mode = 1; });
            d.startTrace();
            d.stopTrace();
        }) << Commands{"Cs", "CC", "CA"} << QStringList{"INFO: startTrace", "INFO: stopTrace"} << false;
        QTest::newRow("start with an unknown measurement mode") << Action([](Device& d) {
            changeSettings([](AppSettings& s) { s.device.measurement_mode = 4; });
            d.startTrace(true);
        }) << Commands() << QStringList{"INFO: startTrace"} << true;
        // Start and stop follow the type setting, which the quick settings may
        // have changed, not the identified controller.
        QTest::newRow("start and stop by the profile type setting") << Action([](Device& d) {
            changeSettings([](AppSettings& s) { s.device.device_type = PROFILE; });
            d.startTrace(true);
            d.stopTrace();
        }) << Commands{"CS", "CC", "CV"} << QStringList{"INFO: startTrace", "INFO: stopTrace"} << true;
        // These follow the identified controller, whatever the type setting
        // says (so does the calibration, below).
        QTest::newRow("speed") << Action([](Device& d) {
            changeSettings([](AppSettings& s) { s.device.device_type = PROFILE; });
            d.setSpeed(3);
        }) << Commands{"SX3"} << QStringList{"INFO: setspeed with value 3"} << false;
        QTest::newRow("resolution scaling") << Action([](Device& d) {
            changeSettings([](AppSettings& s) {
                s.servise.scale_x_resolution = 12;
                s.servise.scale_z_resolution = 5;
                s.servise.scale_r_resolution = 7;
            });
            d.changeResolutionScaling();
        }) << Commands{"KX12", "KZ05", "KR07"} << QStringList() << false;
        QTest::newRow("automatic calibration") << Action([](Device& d) { d.autoMinMaxCalib(); }) << Commands{"CV"}
                                               << QStringList{"INFO: autoMaxCalib"} << false;
        QTest::newRow("filter, trace length, arm length") << Action([](Device& d) {
            d.setFilter(1);
            d.setTraceLength(3);
            d.setMMPerRotation(0.5);
        }) << Commands{"PF2", "PL3", "R0050"} << QStringList() << false;
        QTest::newRow("raw text") << Action([](Device& d) { d.sendRaw(QStringLiteral("CS\n")); }) << Commands{"CS"}
                                  << QStringList() << false;
        QTest::newRow("thermal printer") << Action([](Device& d) { d.sendToTermalPrinter({"CX", "CY"}); })
                                         << Commands{"CX", "CY", "\xD9\x31"} << QStringList() << false;
    }

    void slotSendsAndLogs()
    {
        QFETCH(Action, action);
        QFETCH(Commands, commands);
        QFETCH(QStringList, log);
        QFETCH(bool, tracing);

        Device& device = *m_link->device;
        const int logged = startAtRest();

        action(device);
        const bool tracingAfter = device.isTracing();
        const Commands sent = commandsUpToSentinel();

        QCOMPARE(sent, commands);
        QCOMPARE(logTexts().mid(logged), log);
        QCOMPARE(tracingAfter, tracing);
    }

    void pressingIsSentOnlyWhenItChanges()
    {
        Device& device = *m_link->device;
        const int logged = startAtRest();
        device.changePresingPower(MovementSettings::NEEDLE_DOWN, 3);
        device.changePresingPower(MovementSettings::NEEDLE_DOWN, 3);
        device.changePresingPower(MovementSettings::NEEDLE_UP, 3);

        QCOMPARE(commandsUpToSentinel(), (Commands{"Pd3", "Pu3"}));
        QCOMPARE(logTexts().mid(logged), (QStringList{"INFO: changePresingPower to value: Pd3",
                                                      "INFO: changePresingPower to value: Pu3"}));
        const AppSettingsData saved = AppSettings::load(AppSettings::kFileName);
        QCOMPARE(int(saved.movement.needle_pressing), int(MovementSettings::NEEDLE_UP));
        QCOMPARE(saved.device.power_pressing, 3);
    }

    // The contour controller runs its calibration cycle on "CK"; the device
    // acknowledges its end, and the controller returns to rest.
    void calibrationOfTheContourController()
    {
        Device& device = *m_link->device;
        const int logged = startAtRest();
        changeSettings([](AppSettings& s) { s.device.device_type = PROFILE; });
        SignalCount loader(device, &Device::openLoader);
        SignalCount normal(device, &Device::normalStatus);
        QStringList steps;
        QObject receiver;
        connect(&device, &Device::setStatusProgressBar, &receiver,
                [&steps](int status, int maxValue, const QString& process, const QString& step) {
                    steps << QStringLiteral("%1/%2 %3: %4").arg(status).arg(maxValue).arg(process, step);
                });

        device.calibration();
        QVERIFY(QTest::qWaitFor([&] { return normal.count() == 1 && steps.size() == 8; }, 5000));

        QCOMPARE(commandsUpToSentinel(), (Commands{"CK", "CA"}));
        QCOMPARE(logTexts().mid(logged), QStringList{"INFO: Calibration"});
        QCOMPARE(loader.count(), 1);
        QCOMPARE(steps.first(), QStringLiteral("1/109 Идёт калибровка: Отвод контурографа от поверхности"));
        QCOMPARE(steps.last(), QStringLiteral("109/109 Идёт калибровка: Калибровка завершена"));
    }

private:
    // Contour type setting, measurement mode 0, no trace running, nothing in
    // flight; returns the number of log lines so far.
    int startAtRest()
    {
        changeSettings([](AppSettings& s) {
            s.device.device_type = CONTOUR;
            s.device.measurement_mode = 0;
        });
        if (m_link->device->isTracing())
            m_link->device->stopTrace();
        commandsUpToSentinel();
        return logTexts().size();
    }

    // The commands the controller received since the last call, once all of
    // them have arrived, without the keep-alive.
    Commands commandsUpToSentinel()
    {
        m_link->device->sendCommand(kSentinel);
        if (!waitForCommand(m_link->controller, kSentinel))
            return {"sentinel lost"};
        Commands sent = commandsBesidesKeepAlive(m_link->controller);
        m_link->controller.clearReceived();
        sent.pop_back();
        return sent;
    }

    std::unique_ptr<Link> m_link;
};

KALVORA_TEST_MAIN(DeviceSlotsTest)
#include "DeviceSlotsTest.moc"
