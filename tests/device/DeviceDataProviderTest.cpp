#include "ContourTrace.h"
#include "Device.h"
#include "DeviceDataProvider.h"
#include "LinkTestSupport.h"
#include "TestMain.h"

#include <QElapsedTimer>
#include <QThreadPool>

#include <memory>

namespace {

// A trace of the given type with a provider on the device, and its events.
struct Recording
{
    Recording(Device& device, int type) : trace(type), provider(&device), events(provider) {}

    // Starts the device's tracing and the provider, and waits until it reads.
    bool start(Device& device)
    {
        device.startTrace(true);
        return provider.start(&trace) && events.waitFor("started");
    }

    // Ends the device's tracing and waits until the provider has finished.
    bool finish(Device& device)
    {
        device.startTrace(false);
        return events.waitFor("finished");
    }

    RecordedTrace trace;
    DeviceDataProvider provider;
    ProviderEvents events;
};

} // namespace

// The live provider against a device without a port: the test emits the
// device's point and reset signals itself and drives its tracing flag.
class DeviceDataProviderTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_ports = std::make_unique<ScopedPortList>();
        m_device = std::make_unique<Device>();
    }

    void cleanup()
    {
        m_device.reset();
        m_ports.reset();
    }

    void pointsAreAnnouncedInBatches_data()
    {
        QTest::addColumn<int>("batchSize");
        QTest::addColumn<int>("points");
        QTest::addColumn<QStringList>("batches");
        QTest::newRow("contour packets") << 8 << 10 << QStringList{"batch 0 8"};
        QTest::newRow("single profile points") << 1 << 3 << QStringList{"batch 0 1", "batch 1 1", "batch 2 1"};
        QTest::newRow("block samples") << 100 << 250 << QStringList{"batch 0 100", "batch 100 100"};
    }

    void pointsAreAnnouncedInBatches()
    {
        QFETCH(int, batchSize);
        QFETCH(int, points);
        QFETCH(QStringList, batches);

        Recording recording(*m_device, PROFILE);
        QVERIFY(recording.start(*m_device));
        for (int i = 0; i < points; ++i)
            emit m_device->dataRecieved(10 + i, 20 + i, i, batchSize);
        QVERIFY(recording.finish(*m_device));

        QCOMPARE(recording.events.events(), QStringList{"started"} + batches + QStringList{"finished"});
        const RecordedTrace& trace = recording.trace;
        QCOMPARE(trace.rowCount(), points);
        QCOMPARE(trace.rawColumn(0).last(), double(points - 1));
        QCOMPARE(trace.rawColumn(1).last(), double(10 + points - 1));
        QCOMPARE(trace.rawColumn(2).last(), double(20 + points - 1));
        QVERIFY(recording.provider.result());
    }

    void pointsOutsideTheRecordingAreDropped()
    {
        Recording recording(*m_device, PROFILE);
        emit m_device->dataRecieved(1, 1, 1, 1); // the device does not trace yet
        QVERIFY(recording.start(*m_device));
        m_device->startTrace(false);
        emit m_device->dataRecieved(2, 2, 2, 1); // the device no longer traces
        m_device->startTrace(true);
        emit m_device->dataRecieved(3, 3, 3, 1);
        QVERIFY(recording.finish(*m_device));
        m_device->startTrace(true);
        emit m_device->dataRecieved(4, 4, 4, 1); // the provider has finished
        m_device->startTrace(false);

        QCOMPARE(recording.trace.rawColumn(0), QVector<double>{3});
        QCOMPARE(recording.events.events(), (QStringList{"started", "batch 0 1", "finished"}));
    }

    // The instrument may send its trace before the provider's read begins,
    // e.g. while the workspace waits for a file read: nothing of it is lost,
    // and a block transfer among it still replaces the points before it.
    void pointsBeforeTheReadBeginsAreKept()
    {
        Recording recording(*m_device, CONTOUR);
        m_device->startTrace(true);
        emit m_device->dataRecieved(9, 9, 9, 8);
        emit m_device->dataReset();
        for (int i = 0; i < 10; ++i)
            emit m_device->dataRecieved(10 + i, 20 + i, i, 8);
        m_device->startTrace(false);
        QVERIFY(recording.provider.start(&recording.trace));
        QVERIFY(recording.events.waitFor("finished"));

        QCOMPARE(recording.trace.rowCount(), 10);
        QCOMPARE(recording.trace.rawColumn(0).first(), 0.0);
        QCOMPARE(recording.trace.rawColumn(1).last(), 19.0);
        QVERIFY(recording.trace.processedRow(0) != (QVector<double>{0, 10, 20}));
        QCOMPARE(recording.events.events(), (QStringList{"started", "batch 0 8", "finished"}));
    }

    void aRecordingStoppedBeforeTheReadEndsAtOnce()
    {
        Recording recording(*m_device, PROFILE);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(recording.provider.start(&recording.trace));
        QVERIFY(recording.events.waitFor("finished"));
        QVERIFY(clock.elapsed() < 400);
        QCOMPARE(recording.trace.rowCount(), 0);
        QCOMPARE(recording.events.events(), (QStringList{"started", "finished"}));
    }

    void aResetEmptiesTheTraceBeforeTheNextPoint()
    {
        Recording recording(*m_device, PROFILE);
        QVERIFY(recording.start(*m_device));
        for (int i = 0; i < 3; ++i)
            emit m_device->dataRecieved(i, 0, i, 1);
        emit m_device->dataReset();
        QCOMPARE(recording.trace.rowCount(), 0);
        emit m_device->dataRecieved(7, 0, 0, 100);
        QCOMPARE(recording.trace.rowCount(), 1);
        m_device->startTrace(false);
        emit m_device->dataReset(); // not tracing: ignored
        QVERIFY(recording.finish(*m_device));

        QCOMPARE(recording.trace.rawColumn(1), QVector<double>{7});
        QCOMPARE(recording.events.events(),
                 (QStringList{"started", "batch 0 1", "batch 1 1", "batch 2 1", "reset", "finished"}));
    }

    void aContourRecordingConvertsItsPoints_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("converted");
        QTest::newRow("contour") << int(CONTOUR) << true;
        QTest::newRow("contour with profile") << int(CONTOUR_PROFILE) << true;
        QTest::newRow("profile") << int(PROFILE) << false;
        QTest::newRow("additional trace") << int(ADDITIONAL_TRACE) << false;
    }

    void aContourRecordingConvertsItsPoints()
    {
        QFETCH(int, type);
        QFETCH(bool, converted);

        Recording recording(*m_device, type);
        QVERIFY(recording.start(*m_device));
        emit m_device->dataRecieved(500, 300, 1000, 8);
        QVERIFY(recording.finish(*m_device));

        QCOMPARE(recording.trace.rawColumn(0), QVector<double>{1000});
        const QVector<double> raw{1000, 500, 300};
        QCOMPARE(recording.trace.processedRow(0) != raw, converted);
        QCOMPARE(recording.trace.name(), m_device->portName());
    }

    void aContourTraceTakesTheNeedlePositionOfTheSettings_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<int>("needlePressing");
        QTest::newRow("needle up") << int(MovementSettings::NEEDLE_UP) << 0;
        QTest::newRow("needle down") << int(MovementSettings::NEEDLE_DOWN) << 1;
    }

    void aContourTraceTakesTheNeedlePositionOfTheSettings()
    {
        QFETCH(int, setting);
        QFETCH(int, needlePressing);
        AppSettings::instance().movement.needle_pressing = MovementSettings::E_NEEDLE_PRESSING(setting);
        ContourTrace trace;
        trace.setType(CONTOUR);
        trace.needle_pressing = 1 - needlePressing;
        DeviceDataProvider provider(m_device.get());
        ProviderEvents events(provider);
        QVERIFY(provider.start(&trace));
        QVERIFY(events.waitFor("finished"));
        QCOMPARE(trace.needle_pressing, needlePressing);
        AppSettings::instance().movement.needle_pressing = MovementSettings::NEEDLE_DOWN;
    }

    void theWaitRunsOnTheLinksOwnPool()
    {
        Recording recording(*m_device, PROFILE);
        QVERIFY(recording.provider.isRecording());
        QVERIFY(recording.start(*m_device));
        QCOMPARE(m_device->taskPool()->activeThreadCount(), 1);
        QCOMPARE(QThreadPool::globalInstance()->activeThreadCount(), 0);
        QVERIFY(recording.finish(*m_device));
    }

    void aProviderDeletedWhileWaitingLetsGoOfTheDevice()
    {
        RecordedTrace trace(PROFILE);
        auto provider = std::make_unique<DeviceDataProvider>(m_device.get());
        ProviderEvents events(*provider);
        m_device->startTrace(true);
        QVERIFY(provider->start(&trace));
        QVERIFY(events.waitFor("started"));
        QElapsedTimer clock;
        clock.start();
        provider.reset();
        QVERIFY(clock.elapsed() < 700);
        emit m_device->dataRecieved(1, 1, 1, 1);
        emit m_device->dataReset();
        QCOMPARE(trace.rowCount(), 0);
        m_device->startTrace(false);
    }

private:
    std::unique_ptr<ScopedPortList> m_ports;
    std::unique_ptr<Device> m_device;
};

KALVORA_TEST_MAIN(DeviceDataProviderTest)
#include "DeviceDataProviderTest.moc"
