#include "ControllerFrames.h"
#include "DebugCapture.h"
#include "DeviceCommands.h"
#include "LinkTestSupport.h"
#include "TestMain.h"

#include <QElapsedTimer>

using Family = SimulatedController::Family;
using Commands = std::vector<std::string>;

Q_DECLARE_METATYPE(SimulatedController::Family)
Q_DECLARE_METATYPE(Commands)

namespace {

void setMeasurementMode(int mode)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    settings.device.measurement_mode = mode;
}

void setCalibration(double compression, double displacement, double rackAngle)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    settings.calibration.x_axis_compression_ratio = compression;
    settings.calibration.y_axis_compression_ratio = compression;
    settings.calibration.displacement_coefficient = displacement;
    settings.calibration.rack_prpendicular = rackAngle;
}

CalibrationSettings calibration()
{
    return AppSettings::instance().snapshot().calibration;
}

std::string parameterReply(int32_t xCompression, int32_t rackAngle)
{
    DeviceParameterRecord record;
    record.values[0] = xCompression;
    record.values[1] = 1010000;
    record.values[2] = 20000;
    record.values[3] = rackAngle;
    return DeviceCommands::kParameterReplyMarker + record.toBytes();
}

} // namespace

// The link's start against the simulated controller: identification and
// initialisation of both families, the instrument's parameter record, the end
// of a link whose controller never answers.
class DeviceLinkTest : public QObject
{
    Q_OBJECT

private slots:
    void identificationAndInitialisation_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("measurementMode");
        QTest::addColumn<int>("type");
        QTest::addColumn<Commands>("commands");
        const Commands profile{"CM", "CP", "Cq", "PF2", "PL1", "PS0"};
        const Commands contour{"CM", "CP", "CO", "SX0"};
        QTest::newRow("profile") << Family::Profile << QByteArray("OK") << 0 << 2 << profile;
        QTest::newRow("both names: profile") << Family::Profile << QByteArray("Zeta_581_R2 OK") << 2 << 2 << profile;
        QTest::newRow("contour, mode 0") << Family::Contour << QByteArray("Zeta_581_R2") << 0 << 0 << contour;
        QTest::newRow("contour, mode 1") << Family::Contour << QByteArray("Zeta_581_R2") << 1 << 0 << contour;
        QTest::newRow("contour with profile, mode 2") << Family::Contour << QByteArray("xZeta_581_R2") << 2 << 1
                                                      << contour;
        QTest::newRow("contour, mode 3") << Family::Contour << QByteArray("Zeta_581_R2") << 3 << 0 << contour;
    }

    void identificationAndInitialisation()
    {
        QFETCH(Family, family);
        QFETCH(QByteArray, reply);
        QFETCH(int, measurementMode);
        QFETCH(int, type);
        QFETCH(Commands, commands);

        setMeasurementMode(measurementMode);
        Link link(family);
        link.controller.setIdentityReply(reply.toStdString());
        std::atomic<int> announcedType{-1};
        link.device = std::make_unique<Device>();
        connect(link.device.get(), &Device::newDeviceType, [&](int t) { announcedType = t; });
        SignalCount opened(*link.device, &Device::deviceOpened);
        QVERIFY(waitForCommand(link.controller, commands.back()));
        QTest::qWait(100);

        QCOMPARE(commandsBesidesKeepAlive(link.controller), commands);
        QCOMPARE(opened.count(), 1);
        QCOMPARE(announcedType.load(), type);
        QCOMPARE(int(link.device->type()), type);
        QCOMPARE(link.device->portName(), QString::fromStdString(link.controller.portName()));
        QVERIFY(link.device->isOpen());
        QVERIFY(link.device->isReaderRunning());
        QCOMPARE(AppSettings::instance().snapshot().device.device_type, type);
        QCOMPARE(AppSettings::load(AppSettings::kFileName).device.device_type, type);
        setMeasurementMode(0);
    }

    void parameterRecord_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("x compression 0.949999") << QByteArray::fromStdString(parameterReply(949999, 150)) << false;
        QTest::newRow("x compression 0.95") << QByteArray::fromStdString(parameterReply(950000, 150)) << true;
        QTest::newRow("marker after other bytes")
            << QByteArray::fromStdString("\x01zz" + parameterReply(950000, 150)) << true;
        QTest::newRow("record cut short")
            << QByteArray::fromStdString(parameterReply(950000, 150).substr(0, 3 + 4 * 29 + 2)) << false;
        // The reader gives up after 3 + 202 bytes without the marker.
        QTest::newRow("no marker")
            << QByteArray::fromStdString(parameterReply(950000, 150).substr(1) + std::string(100, 'x')) << false;
    }

    void parameterRecord()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, accepted);

        setCalibration(1.1, 0.5, 2);
        Link link(Family::Contour);
        link.controller.setParameterReply(reply.toStdString());
        QVERIFY(link.connect());

        const CalibrationSettings stored = calibration();
        if (accepted) {
            QCOMPARE(stored.x_axis_compression_ratio, 0.95);
            QCOMPARE(stored.y_axis_compression_ratio, 1.01);
            QCOMPARE(stored.displacement_coefficient, 0.02);
            QCOMPARE(stored.rack_prpendicular, 1.5);
            QCOMPARE(AppSettings::load(AppSettings::kFileName).calibration.rack_prpendicular, 1.5);
        } else {
            QCOMPARE(stored.x_axis_compression_ratio, 1.1);
            QCOMPARE(stored.y_axis_compression_ratio, 1.1);
            QCOMPARE(stored.displacement_coefficient, 0.5);
            QCOMPARE(stored.rack_prpendicular, 2.0);
        }
    }

    void aSilentControllerIsAskedAgainAndLetGoQuickly()
    {
        Link link(Family::Profile);
        link.controller.setIdentityReply({});
        link.device = std::make_unique<Device>();
        QVERIFY(waitForCommand(link.controller, "CP", 3));
        QElapsedTimer sinceThird;
        sinceThird.start();
        QVERIFY(!waitForCommand(link.controller, "CP", 4, 350));
        QVERIFY(waitForCommand(link.controller, "CP", 4, 400));
        QVERIFY(sinceThird.elapsed() >= 400);
        QCOMPARE(commandsBesidesKeepAlive(link.controller), (Commands{"CM", "CP", "CP", "CP", "CP"}));

        QElapsedTimer destruction;
        destruction.start();
        link.device.reset();
        QVERIFY2(destruction.elapsed() <= 600, qPrintable(QString::number(destruction.elapsed())));
    }

    void commandsWithoutAPortAreDropped()
    {
        ScopedPortList noPorts;
        Device device;
        SignalCount lost(device, &Device::deviceLost);
        QVERIFY(!device.sendCommand("C9"));
        QVERIFY(!device.writeParameters());
        device.moveX(1);
        device.sendRaw(QStringLiteral("CS\n"));
        QCOMPARE(lost.count(), 0);
        QVERIFY(!device.isOpen());
    }

    void theParameterUploadReportsWhetherItWentOut()
    {
        setCalibration(1, 0, 1.15);
        Link link(Family::Profile);
        QVERIFY(link.connect());
        QVERIFY(link.device->writeParameters());
        QVERIFY(QTest::qWaitFor([&] { return link.controller.uploadedRecord().has_value(); }, 5000));
        const DeviceParameterRecord record = *link.controller.uploadedRecord();
        QCOMPARE(record.values[0], 1000000);
        QCOMPARE(record.values[3], 115);
    }
};

KALVORA_TEST_MAIN(DeviceLinkTest)
#include "DeviceLinkTest.moc"
