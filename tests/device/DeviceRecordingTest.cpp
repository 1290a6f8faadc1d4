#include "ControllerFrames.h"
#include "DebugCapture.h"
#include "DeviceDataProvider.h"
#include "LinkTestSupport.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QThreadPool>

using Family = SimulatedController::Family;

namespace {

// A recording as the control panel makes it: the device starts tracing, then
// a provider fills a trace of the device's type.
struct LiveRecording
{
    explicit LiveRecording(Device& device) : trace(device.type()), provider(&device), events(provider) {}

    bool start(Link& link)
    {
        link.controller.stall(kStartDelayMs);
        link.device->startTrace(true);
        return provider.start(&trace) && events.waitFor("started");
    }

    QStringList batches() const { return events.events().filter(QStringLiteral("batch")); }

    RecordedTrace trace;
    DeviceDataProvider provider;
    ProviderEvents events;
};

QStringList batchEvents(int from, int count, int size)
{
    QStringList events;
    for (int row = from; row + size <= count; row += size)
        events << QStringLiteral("batch %1 %2").arg(row).arg(size);
    return events;
}

} // namespace

// Recordings end to end: the simulated controller sends a trace, the device
// decodes it on its reader task and the live provider fills the trace.
class DeviceRecordingTest : public QObject
{
    Q_OBJECT

private slots:
    void profileRecording()
    {
        Link link(Family::Profile);
        SimulatedController::ProfileTrace sent;
        for (int i = 0; i < 5; ++i)
            sent.points.push_back(uint16_t(40000 + i));
        for (int i = 0; i < 250; ++i)
            sent.blockSamples.push_back(uint16_t(3 * i));
        sent.step = 2000000;
        link.controller.setProfileTrace(sent);
        QVERIFY(link.connect());
        SignalCount stopButton(*link.device, &Device::pushButtonStopTrace);

        LiveRecording recording(*link.device);
        QVERIFY(recording.start(link));
        QVERIFY(recording.events.waitFor("finished"));

        QVERIFY(!link.device->isTracing());
        QCOMPARE(stopButton.count(), 1);
        const QStringList expected = batchEvents(0, 5, 1) + QStringList{"reset"} + batchEvents(0, 250, 100);
        QCOMPARE(recording.events.events(), QStringList{"started"} + expected + QStringList{"finished"});
        // The block replaces the single points.
        QCOMPARE(recording.trace.rowCount(), 250);
        const QVector<double> x = recording.trace.rawColumn(0);
        const QVector<double> height = recording.trace.rawColumn(1);
        for (int i = 0; i < 250; ++i) {
            QCOMPARE(height[i], 3 * i * 2000000 * 0.00000001);
            QCOMPARE(x[i], double(i) / 250 * 1000);
        }
        QCOMPARE(recording.trace.name(), QString::fromStdString(link.controller.portName()));
    }

    void contourRecording()
    {
        Link link(Family::Contour);
        const std::vector<ContourPacket> points = ControllerFrames::recordingPoints(21);
        link.controller.setContourTrace(SimulatedController::contourTraceSequence(points));
        QVERIFY(link.connect());
        SignalCount startButton(*link.device, &Device::pushButtonStartTrace);
        SignalCount normal(*link.device, &Device::normalStatus);

        LiveRecording recording(*link.device);
        QVERIFY(recording.start(link));
        // The controller reports the end, the device acknowledges, the
        // controller returns to rest, and that ends the recording.
        QVERIFY(recording.events.waitFor("finished"));

        QVERIFY(!link.device->isTracing());
        QCOMPARE(startButton.count(), 1);
        QCOMPARE(normal.count(), 1);
        QCOMPARE(link.controller.commandCount("CA"), 1);
        QCOMPARE(recording.batches(), batchEvents(0, 21, 8));
        QCOMPARE(recording.trace.rowCount(), 21);
        for (int i = 0; i < 21; ++i) {
            QCOMPARE(recording.trace.rawColumn(0)[i], double(points[std::size_t(i)].xPosition));
            QCOMPARE(recording.trace.rawColumn(1)[i], double(points[std::size_t(i)].probeHeight));
            QCOMPARE(recording.trace.rawColumn(2)[i], double(points[std::size_t(i)].consoleHeight));
        }
    }

    void aVanishedDeviceEndsTheRecordingWithItsPoints()
    {
        Link link(Family::Contour);
        std::vector<ContourPacket> sequence = SimulatedController::contourTraceSequence(ControllerFrames::recordingPoints(12));
        sequence.pop_back(); // the controller never reports the end
        link.controller.setContourTrace(sequence);
        QVERIFY(link.connect());
        SignalCount lost(*link.device, &Device::deviceLost);

        LiveRecording recording(*link.device);
        QVERIFY(recording.start(link));
        QVERIFY(recording.events.waitFor("batch 0 8"));
        // The line goes only once every point is in: a hang-up drops what the
        // host has not read yet.
        QVERIFY(QTest::qWaitFor([&] { return recording.trace.rowCount() == 12; }, 5000));
        link.controller.vanish();
        QVERIFY(recording.events.waitFor("finished"));

        QCOMPARE(recording.trace.rowCount(), 12);
        QCOMPARE(recording.batches(), batchEvents(0, 12, 8));
        QVERIFY(!link.device->isTracing());
        QVERIFY(QTest::qWaitFor([&] { return !link.device->isReaderRunning(); }, 5000));
        QCOMPARE(lost.count(), 1);
        // Keep-alive ticks meet the closed port and try to reopen it; the
        // vanished path leads nowhere, and the loss stays reported once.
        QTest::qWait(Device::kKeepAliveIntervalMs + 500);
        QCOMPARE(lost.count(), 1);
        QVERIFY(!link.device->isOpen());
    }

    void aCommandOnTheClosedPortReopensItAndIsDropped()
    {
        // The search finds the controller through a link that the test can
        // point at another terminal later.
        Link link(Family::Profile);
        const QString path = QDir::current().absoluteFilePath(QStringLiteral("instrument"));
        QVERIFY(QFile::link(QString::fromStdString(link.controller.portName()), path));
        link.ports.set({path.toStdString()});
        QVERIFY(link.connect());
        SignalCount lost(*link.device, &Device::deviceLost);
        link.controller.vanish();
        QVERIFY(QTest::qWaitFor([&] { return lost.count() == 1 && !link.device->isReaderRunning(); }, 5000));

        DebugCapture debug;
        link.device->moveX(1);
        QVERIFY(debug.contains(QStringLiteral("Faild attempt")));
        QVERIFY(!link.device->isOpen());

        SimulatedController replacement(Family::Profile);
        replacement.start();
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::link(QString::fromStdString(replacement.portName()), path));
        // No keep-alive tick can run before the next command: it finds the
        // port closed, opens it again and is itself dropped.
        QVERIFY(!link.device->isOpen());
        link.device->moveX(1);
        QVERIFY(link.device->isOpen());
        link.device->moveX(0);
        QVERIFY(waitForCommand(replacement, "DX0"));
        QCOMPARE(commandsBesidesKeepAlive(replacement), std::vector<std::string>{"DX0"});
        QCOMPARE(lost.count(), 1);
    }

    void aNewSearchAfterTheLossFindsTheNewPort()
    {
        Link link(Family::Profile);
        QVERIFY(link.connect());
        SignalCount lost(*link.device, &Device::deviceLost);
        connect(link.device.get(), &Device::deviceLost, link.device.get(), &Device::find);
        link.controller.vanish();
        QVERIFY(QTest::qWaitFor([&] { return lost.count() == 1; }, 5000));

        SimulatedController replacement(Family::Contour);
        replacement.start();
        link.ports.set({replacement.portName()});
        QVERIFY(waitForCommand(replacement, "SX0"));

        QCOMPARE(commandsBesidesKeepAlive(replacement), (std::vector<std::string>{"CM", "CP", "CO", "SX0"}));
        QCOMPARE(int(link.device->type()), int(CONTOUR));
        QCOMPARE(link.device->taskPool()->activeThreadCount(), 1);
        QCOMPARE(lost.count(), 1);
    }

    void aSearchRetiresTheRunningReader()
    {
        Link link(Family::Profile);
        QVERIFY(link.connect());
        SimulatedController second(Family::Profile);
        second.start();
        link.ports.set({second.portName()});
        link.device->find();
        QVERIFY(waitForCommand(second, "PS0"));
        link.controller.clearReceived();
        second.clearReceived();

        QVERIFY(waitForCommand(second, "C9", 1, 2500));
        link.device->moveZ(1);
        QVERIFY(waitForCommand(second, "DZ+"));
        QVERIFY(link.controller.commands().empty());
        QCOMPARE(link.device->taskPool()->activeThreadCount(), 1);
        // The old port is free again: nothing of the link holds it.
        link.ports.set({link.controller.portName()});
        link.device->find();
        QVERIFY(waitForCommand(link.controller, "PS0"));
        QCOMPARE(link.device->taskPool()->activeThreadCount(), 1);
    }
};

KALVORA_TEST_MAIN(DeviceRecordingTest)
#include "DeviceRecordingTest.moc"
