#include "DebugCapture.h"
#include "DevicePort.h"
#include "LinkTestSupport.h"
#include "PtyPair.h"
#include "TestMain.h"
#include "serial/Serial.h"

#include <QElapsedTimer>
#include <QSignalSpy>

using Family = SimulatedController::Family;

namespace {

constexpr char kMissingPort[] = "/dev/kalvora-test-no-such-port";

bool waitForSignal(QSignalSpy& spy, int count = 1)
{
    return QTest::qWaitFor([&] { return spy.count() >= count; }, DevicePort::kFirstSearchDelayMs + 2000);
}

} // namespace

// The instrument's port on its own: the search, the port it keeps, closing
// and reopening.
class DevicePortTest : public QObject
{
    Q_OBJECT

private slots:
    void theFirstPortThatOpensIsKeptWithAReadTimeOut()
    {
        PtyPair first;
        PtyPair second;
        ScopedPortList ports({kMissingPort, first.slavePath(), second.slavePath()});
        DevicePort port;
        QSignalSpy found(&port, &DevicePort::found);
        QSignalSpy notFound(&port, &DevicePort::notFound);
        QVERIFY(!port.serial());

        QVERIFY(waitForSignal(found));
        QCOMPARE(notFound.count(), 0);
        QCOMPARE(port.name(), QString::fromStdString(first.slavePath()));
        QVERIFY(port.isOpen());

        QElapsedTimer clock;
        clock.start();
        QVERIFY(port.serial()->read(1).empty());
        const qint64 waited = clock.elapsed();
        QVERIFY2(waited >= DevicePort::kReadTimeoutMs - 50 && waited <= DevicePort::kReadTimeoutMs + 400,
                 qPrintable(QString::number(waited)));
    }

    void aSearchLetsTheOldPortGoAndMayFindNothing()
    {
        PtyPair pty;
        ScopedPortList ports({pty.slavePath()});
        DevicePort port;
        QSignalSpy found(&port, &DevicePort::found);
        QVERIFY(waitForSignal(found));

        ports.set({kMissingPort});
        bool oldPortAtStart = false;
        connect(&port, &DevicePort::searchStarting, this, [&] { oldPortAtStart = port.serial() != nullptr; });
        QSignalSpy notFound(&port, &DevicePort::notFound);
        port.searchAgain();
        QVERIFY(waitForSignal(notFound));
        QVERIFY(oldPortAtStart);
        QVERIFY(!port.serial());
        QVERIFY(!port.isOpen());
        QCOMPARE(found.count(), 1);
        QCOMPARE(port.name(), QString::fromStdString(pty.slavePath()));
    }

    void aClosedPortOpensAgainUnlessItVanished()
    {
        SimulatedController controller(Family::Profile);
        controller.start();
        ScopedPortList ports({controller.portName()});
        DevicePort port;
        QSignalSpy found(&port, &DevicePort::found);
        QVERIFY(waitForSignal(found));

        port.close();
        QVERIFY(!port.isOpen());
        port.reopen();
        QVERIFY(port.isOpen());

        controller.vanish();
        QVERIFY(controller.waitUntilSent(2000));
        port.close();
        DebugCapture debug;
        port.reopen();
        QVERIFY(!port.isOpen());
        QVERIFY(debug.contains(QStringLiteral("Faild attempt")));
    }
};

KALVORA_TEST_MAIN(DevicePortTest)
#include "DevicePortTest.moc"
