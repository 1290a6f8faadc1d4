#include "DeviceCommands.h"
#include "LinkTestSupport.h"
#include "TestMain.h"

using Family = SimulatedController::Family;

namespace {

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

// The instrument's parameter record over the link: read from a contour
// controller at the start, uploaded to the instrument.
class DeviceParameterRecordTest : public QObject
{
    Q_OBJECT

private slots:
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

KALVORA_TEST_MAIN(DeviceParameterRecordTest)
#include "DeviceParameterRecordTest.moc"
