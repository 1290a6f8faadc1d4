#include "DeviceAction.h"
#include "DevicePort.h"
#include "DeviceReader.h"
#include "Logger.h"
#include "ReaderHost.h"
#include "SimulatedController.h"
#include "TestMain.h"
#include "TraceTypes.h"
#include "serial/Serial.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QThreadPool>

#include <atomic>
#include <memory>

using Family = SimulatedController::Family;
using Calls = QStringList;

Q_DECLARE_METATYPE(SimulatedController::Family)
Q_DECLARE_METATYPE(DeviceAction)

namespace {

// A host that writes the reader's commands to the port as they are and
// records every call the reader makes of it.
class RecordingHost : public ReaderHost
{
public:
    void attach(serial::Serial* port) { m_port = port; }

    bool sendCommand(const std::string& bytes) override
    {
        record(QStringLiteral("send ") + QString::fromStdString(bytes));
        return m_port && m_port->write(bytes) == bytes.size();
    }
    void changePresingPower(MovementSettings::E_NEEDLE_PRESSING needle, int power) override
    {
        record(QStringLiteral("pressing %1 %2").arg(needle).arg(power));
    }
    void setFilter(int index) override { record(QStringLiteral("filter %1").arg(index)); }
    void setTraceLength(int length) override { record(QStringLiteral("length %1").arg(length)); }
    void setSpeed(int spd) override { record(QStringLiteral("speed %1").arg(spd)); }
    bool wantsRawData() const override { return rawDataWanted; }
    void onReadFailure() override { ++failures; }

    Calls calls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }
    // The calls up to the speed, the last step of the set-up, without the
    // repeated questions of the identification.
    Calls setUpCalls() const
    {
        Calls setUp;
        for (const QString& call : calls()) {
            if (setUp.isEmpty() || setUp.last() != call)
                setUp << call;
            if (call.startsWith(QLatin1String("speed")))
                break;
        }
        return setUp;
    }

    std::atomic<bool> rawDataWanted{false};
    std::atomic<int> failures{0};

private:
    void record(const QString& call)
    {
        QMutexLocker lock(&m_mutex);
        m_calls << call;
    }

    serial::Serial* m_port = nullptr;
    mutable QMutex m_mutex;
    Calls m_calls;
};

// A reader on a port of its own to a simulated controller, without a link.
struct ReaderRig
{
    explicit ReaderRig(Family family) : controller(family)
    {
        controller.start();
        port = std::make_unique<serial::Serial>(controller.portName(), 460800,
                                                serial::Timeout::simpleTimeout(DevicePort::kReadTimeoutMs));
        host.attach(port.get());
    }
    ~ReaderRig() { reader.stop(); }

    bool setUpDone() const
    {
        return QTest::qWaitFor(
            [this] {
                const Calls setUp = host.setUpCalls();
                return !setUp.isEmpty() && setUp.last().startsWith(QLatin1String("speed"));
            },
            5000);
    }

    SimulatedController controller;
    std::unique_ptr<serial::Serial> port;
    RecordingHost host;
    QThreadPool pool;
    DeviceReader reader{host, pool, PROFILE};
};

// The signals a reader emits, by name, in order, from whatever thread.
class ReaderSignals
{
public:
    explicit ReaderSignals(DeviceReader& reader)
    {
        QObject::connect(&reader, &DeviceReader::dataRecieved,
                         [this](double probe, double console, double x, int batch) {
                             add(QStringLiteral("dataRecieved %1 %2 %3 %4").arg(probe).arg(console).arg(x).arg(batch));
                         });
        QObject::connect(&reader, &DeviceReader::dataReset, [this] { add("dataReset"); });
        QObject::connect(&reader, &DeviceReader::setBarValue,
                         [this](int value) { add(QStringLiteral("setBarValue %1").arg(value)); });
        QObject::connect(&reader, &DeviceReader::pushButtonStartTrace, [this] { add("pushButtonStartTrace"); });
        QObject::connect(&reader, &DeviceReader::needCalibration, [this] { add("needCalibration"); });
        QObject::connect(&reader, &DeviceReader::pushButtonStopTrace, [this] { add("pushButtonStopTrace"); });
        QObject::connect(&reader, &DeviceReader::prepareTrace, [this] { add("prepareTrace"); });
        QObject::connect(&reader, &DeviceReader::openLoader, [this] { add("openLoader"); });
        QObject::connect(&reader, &DeviceReader::setStatusProgressBar,
                         [this](int status, int maxValue, const QString& process, const QString& statusName) {
                             add(QStringLiteral("setStatusProgressBar %1 %2 %3 %4")
                                     .arg(status)
                                     .arg(maxValue)
                                     .arg(process, statusName));
                         });
        QObject::connect(&reader, &DeviceReader::crashDevice, [this] { add("crashDevice"); });
        QObject::connect(&reader, &DeviceReader::normalStatus, [this] { add("normalStatus"); });
        QObject::connect(&reader, &DeviceReader::deleteAllTrace, [this] { add("deleteAllTrace"); });
        QObject::connect(&reader, &DeviceReader::newDeviceType,
                         [this](int type) { add(QStringLiteral("newDeviceType %1").arg(type)); });
        QObject::connect(&reader, &DeviceReader::rowDataFromDevice,
                         [this](const QString&) { add("rowDataFromDevice"); });
    }

    QStringList names() const
    {
        QMutexLocker lock(&m_mutex);
        return m_names;
    }

private:
    void add(const QString& name)
    {
        QMutexLocker lock(&m_mutex);
        m_names << name;
    }

    mutable QMutex m_mutex;
    QStringList m_names;
};

QString logText()
{
    QFile file(Logger::instance().fileName());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

// The reader task on its own, with a host that stands in for the link.
class DeviceReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void performCarriesOutEachStep_data()
    {
        QTest::addColumn<DeviceAction>("action");
        QTest::addColumn<QStringList>("emitted");
        QTest::addColumn<Calls>("hostCalls");
        QTest::addColumn<bool>("tracingAfter");
        const QStringList none;
        QTest::newRow("command") << DeviceAction::command("CA") << none << Calls{"send CA"} << true;
        QTest::newRow("point") << DeviceAction::point(1.5, -2, 3, 8) << QStringList{"dataRecieved 1.5 -2 3 8"}
                               << Calls{} << true;
        QTest::newRow("reset") << DeviceAction::signal(DeviceAction::DataReset) << QStringList{"dataReset"} << Calls{}
                               << true;
        QTest::newRow("bar") << DeviceAction::barValue(77) << QStringList{"setBarValue 77"} << Calls{} << true;
        QTest::newRow("start button") << DeviceAction::signal(DeviceAction::PushButtonStartTrace)
                                      << QStringList{"pushButtonStartTrace"} << Calls{} << true;
        QTest::newRow("calibration ends the trace") << DeviceAction::signal(DeviceAction::NeedCalibration)
                                                    << QStringList{"needCalibration"} << Calls{} << false;
        QTest::newRow("stop button") << DeviceAction::signal(DeviceAction::PushButtonStopTrace)
                                     << QStringList{"pushButtonStopTrace"} << Calls{} << true;
        QTest::newRow("prepare") << DeviceAction::signal(DeviceAction::PrepareTrace) << QStringList{"prepareTrace"}
                                 << Calls{} << true;
        QTest::newRow("loader") << DeviceAction::signal(DeviceAction::OpenLoader) << QStringList{"openLoader"}
                                << Calls{} << true;
        QTest::newRow("progress") << DeviceAction::progress(2, 9, "p", "s")
                                  << QStringList{"setStatusProgressBar 2 9 p s"} << Calls{} << true;
        QTest::newRow("crash") << DeviceAction::signal(DeviceAction::CrashDevice) << QStringList{"crashDevice"}
                               << Calls{} << true;
        QTest::newRow("rest ends the trace") << DeviceAction::signal(DeviceAction::NormalStatus)
                                             << QStringList{"normalStatus"} << Calls{} << false;
        QTest::newRow("delete traces") << DeviceAction::signal(DeviceAction::DeleteAllTrace)
                                       << QStringList{"deleteAllTrace"} << Calls{} << true;
        QTest::newRow("clear tracing") << DeviceAction::signal(DeviceAction::ClearTracing) << none << Calls{}
                                       << false;
        QTest::newRow("log line") << DeviceAction::logInfo("reader log line") << none << Calls{} << true;
    }

    void performCarriesOutEachStep()
    {
        QFETCH(DeviceAction, action);
        QFETCH(QStringList, emitted);
        QFETCH(Calls, hostCalls);
        QFETCH(bool, tracingAfter);

        RecordingHost host;
        QThreadPool pool;
        DeviceReader reader(host, pool, PROFILE);
        ReaderSignals seen(reader);
        reader.setTracing(true);
        DeviceActions actions{action, DeviceAction::barValue(1)};
        reader.perform(actions);

        QVERIFY(actions.empty());
        QCOMPARE(seen.names(), emitted + QStringList{"setBarValue 1"});
        QCOMPARE(host.calls(), hostCalls);
        QCOMPARE(reader.isTracing(), tracingAfter);
        if (action.kind == DeviceAction::LogInfo)
            QVERIFY(logText().contains(QLatin1String("INFO: reader log line")));
    }

    void theSetUpGoesThroughTheHost_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<int>("type");
        QTest::addColumn<Calls>("setUp");
        QTest::newRow("profile") << Family::Profile << int(PROFILE)
                                 << Calls{"send CM", "pressing 1 1", "send CP", "send Cq", "filter 1", "length 1",
                                          "speed 0"};
        QTest::newRow("contour") << Family::Contour << int(CONTOUR)
                                 << Calls{"send CM", "pressing 1 1", "send CP", "send CO", "speed 0"};
    }

    void theSetUpGoesThroughTheHost()
    {
        QFETCH(Family, family);
        QFETCH(int, type);
        QFETCH(Calls, setUp);

        ReaderRig rig(family);
        ReaderSignals seen(rig.reader);
        rig.reader.start(*rig.port);
        QVERIFY(rig.setUpDone());
        QCOMPARE(rig.host.setUpCalls(), setUp);
        QCOMPARE(rig.reader.type(), type);
        QVERIFY(seen.names().contains(QStringLiteral("newDeviceType %1").arg(type)));
        QVERIFY(rig.reader.isRunning());
        QVERIFY(rig.reader.isActive());
    }

    void rawBytesOnlyWhenTheHostWantsThem()
    {
        ReaderRig rig(Family::Profile);
        ReaderSignals seen(rig.reader);
        rig.reader.start(*rig.port);
        QVERIFY(rig.setUpDone());
        QVERIFY(!seen.names().contains(QLatin1String("rowDataFromDevice")));

        rig.host.rawDataWanted = true;
        rig.controller.send("OK");
        QVERIFY(QTest::qWaitFor([&] { return seen.names().contains(QLatin1String("rowDataFromDevice")); }, 2000));
    }

    void aFailedReadEndsTheTaskAndTellsTheHostOnce()
    {
        ReaderRig rig(Family::Profile);
        rig.reader.start(*rig.port);
        QVERIFY(rig.setUpDone());
        rig.reader.setTracing(true);

        rig.controller.vanish();
        QVERIFY(QTest::qWaitFor([&] { return !rig.reader.isActive(); }, 3000));
        QCOMPARE(rig.host.failures.load(), 1);
        QVERIFY(!rig.reader.isTracing());
    }

    void stopReturnsWithinAReadTimeOut()
    {
        ReaderRig rig(Family::Profile);
        rig.reader.start(*rig.port);
        QVERIFY(rig.setUpDone());
        rig.reader.setTracing(true);

        QElapsedTimer clock;
        clock.start();
        rig.reader.stop();
        QVERIFY2(clock.elapsed() <= DevicePort::kReadTimeoutMs + 300, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!rig.reader.isRunning());
        QVERIFY(!rig.reader.isTracing());
        QCOMPARE(rig.host.failures.load(), 0);
    }
};

KALVORA_TEST_MAIN(DeviceReaderTest)
#include "DeviceReaderTest.moc"
