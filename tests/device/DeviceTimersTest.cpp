#include "FuzzyCompare.h"
#include "LinkTestSupport.h"
#include "TestMain.h"

#include <QElapsedTimer>

using Family = SimulatedController::Family;

namespace {

// Qt's default timers may fire 5 % off their interval, and a busy machine
// adds to that; a wrong interval is off by far more.
double timerTolerance(int expectedMs)
{
    return expectedMs / 20 + 300;
}

} // namespace

// The link's clocks, in real time: the port search and the keep-alive.
class DeviceTimersTest : public QObject
{
    Q_OBJECT

private slots:
    void aFailedSearchIsRepeatedAfterTenSeconds()
    {
        ScopedPortList ports;
        SimulatedController controller(Family::Profile);
        QElapsedTimer clock;
        clock.start();
        Device device;
        SignalCount lost(device, &Device::deviceLost);
        SignalCount opened(device, &Device::deviceOpened);
        QVERIFY(QTest::qWaitFor([&] { return lost.count() == 1; }, 2000));
        KALVORA_COMPARE_NEAR(clock.elapsed(), Device::kFirstSearchDelayMs, timerTolerance(Device::kFirstSearchDelayMs));

        controller.start();
        ports.set({"/dev/kalvora-test-no-such-port", controller.portName()});
        clock.restart();
        QVERIFY(QTest::qWaitFor([&] { return opened.count() == 1; }, 12000));
        KALVORA_COMPARE_NEAR(clock.elapsed(), Device::kSearchRetryDelayMs, timerTolerance(Device::kSearchRetryDelayMs));
        QCOMPARE(lost.count(), 1);
        QVERIFY(waitForCommand(controller, "PS0"));
        QCOMPARE(device.portName(), QString::fromStdString(controller.portName()));
    }

    void theKeepAliveRestsWhileTracing()
    {
        Link link(Family::Profile);
        SimulatedController::ProfileTrace endless;
        endless.endsByItself = false;
        link.controller.setProfileTrace(endless);
        QVERIFY(link.connect());

        QVERIFY(waitForCommand(link.controller, "C9", 1, 2500));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(waitForCommand(link.controller, "C9", 2, 2500));
        KALVORA_COMPARE_NEAR(clock.elapsed(), Device::kKeepAliveIntervalMs,
                             timerTolerance(Device::kKeepAliveIntervalMs));

        link.device->startTrace(true);
        QVERIFY(waitForCommand(link.controller, "CS"));
        QTest::qWait(2 * Device::kKeepAliveIntervalMs + 500);
        QCOMPARE(link.controller.commandCount("C9"), 2);

        // The stop brings the block transfer, whose end ends the trace.
        link.device->stopTrace();
        QVERIFY(QTest::qWaitFor([&] { return !link.device->isTracing(); }, 5000));
        QVERIFY(waitForCommand(link.controller, "C9", 3, 2500));
        const std::vector<std::string> commands = commandsBesidesKeepAlive(link.controller);
        QCOMPARE(std::vector<std::string>(commands.end() - 3, commands.end()),
                 (std::vector<std::string>{"CS", "CC", "CV"}));
    }
};

KALVORA_TEST_MAIN(DeviceTimersTest)
#include "DeviceTimersTest.moc"
