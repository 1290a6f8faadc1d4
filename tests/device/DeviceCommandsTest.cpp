#include "DeviceCommands.h"
#include "DeviceParameterRecord.h"

#include "ActionText.h"
#include "TestMain.h"

#include <limits>

namespace {

QByteArray bytes(const std::string& command)
{
    return QByteArray::fromStdString(command);
}

QStringList commandList(const std::vector<std::string>& commands)
{
    QStringList list;
    for (const std::string& command : commands)
        list << QString::fromLatin1(bytes(command));
    return list;
}

QByteArray recordBytes(int32_t x, int32_t y, int32_t displacement, int32_t rackAngle)
{
    DeviceParameterRecord record;
    record.values[0] = x;
    record.values[1] = y;
    record.values[2] = displacement;
    record.values[3] = rackAngle;
    return bytes(record.toBytes());
}

} // namespace

class DeviceCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void singleCommands_data();
    void singleCommands();
    void startTrace_data();
    void startTrace();
    void stopTraceKeepsTracingOnTheProfileController();
    void resolutionScaling_data();
    void resolutionScaling();
    void thermalPrinterRowsEndWithTheClosingBytes();
    void defaultParameterUpload();
    void parameterRecordRoundsToNearest_data();
    void parameterRecordRoundsToNearest();
    void parameterRecordReadBack();
    void scanSpeedsEndWithALatinC();
};

void DeviceCommandsTest::singleCommands_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("expected");

    using namespace DeviceCommands;
    QTest::newRow("moveX positive runs to DX-") << bytes(moveX(5)) << QByteArray("DX-");
    QTest::newRow("moveX negative runs to DX+") << bytes(moveX(-5)) << QByteArray("DX+");
    QTest::newRow("moveX 0") << bytes(moveX(0)) << QByteArray("DX0");
    QTest::newRow("moveY negative") << bytes(moveY(-5)) << QByteArray("DY-");
    QTest::newRow("moveY positive") << bytes(moveY(1)) << QByteArray("DY+");
    QTest::newRow("moveY 0") << bytes(moveY(0)) << QByteArray("DY0");
    QTest::newRow("moveZ positive") << bytes(moveZ(1)) << QByteArray("DZ+");
    QTest::newRow("moveZ negative") << bytes(moveZ(-1)) << QByteArray("DZ-");
    QTest::newRow("moveZ 0") << bytes(moveZ(0)) << QByteArray("DZ0");

    QTest::newRow("Ra 1") << bytes(calibration(2, 1)) << QByteArray("Ka01000");
    QTest::newRow("Ra 0.5") << bytes(calibration(2, 0.5)) << QByteArray("Ka00500");
    QTest::newRow("Ra 2.5") << bytes(calibration(2, 2.5)) << QByteArray("Ka02500");
    QTest::newRow("Ra 234.567, six digits") << bytes(calibration(2, 234.567)) << QByteArray("Ka234567");
    QTest::newRow("Ra 1.005 rounds up") << bytes(calibration(2, 1.005)) << QByteArray("Ka01005");
    QTest::newRow("Ra 0.0004 rounds down") << bytes(calibration(2, 0.0004)) << QByteArray("Ka00000");
    QTest::newRow("Ra 0.0006 rounds up") << bytes(calibration(2, 0.0006)) << QByteArray("Ka00001");
    QTest::newRow("contour calibration") << bytes(calibration(0, 1)) << QByteArray("CK");
    QTest::newRow("contour with profile calibration") << bytes(calibration(1, 1)) << QByteArray("CK");
    QTest::newRow("additional trace type calibrates as contour") << bytes(calibration(3, 1)) << QByteArray("CK");

    QTest::newRow("R 5") << bytes(mmPerRotation(5)) << QByteArray("R0500");
    QTest::newRow("R 2.5") << bytes(mmPerRotation(2.5)) << QByteArray("R0250");
    QTest::newRow("R 0.25") << bytes(mmPerRotation(0.25)) << QByteArray("R0025");
    QTest::newRow("R 0.5") << bytes(mmPerRotation(0.5)) << QByteArray("R0050");
    QTest::newRow("R 10") << bytes(mmPerRotation(10)) << QByteArray("R1000");
    QTest::newRow("R 12") << bytes(mmPerRotation(12)) << QByteArray("R1200");
    QTest::newRow("R 12.5") << bytes(mmPerRotation(12.5)) << QByteArray("R1250");
    QTest::newRow("R 12.75") << bytes(mmPerRotation(12.75)) << QByteArray("R1275");
    QTest::newRow("R 1.275") << bytes(mmPerRotation(1.275)) << QByteArray("R1275");
    QTest::newRow("R 100") << bytes(mmPerRotation(100)) << QByteArray("R1000");

    QTest::newRow("needle down") << bytes(pressingPower(1, 3)) << QByteArray("Pd3");
    QTest::newRow("needle up") << bytes(pressingPower(0, 1)) << QByteArray("Pu1");
    QTest::newRow("unknown needle value lifts") << bytes(pressingPower(7, 12)) << QByteArray("Pu12");

    QTest::newRow("speed, profile controller") << bytes(speed(2, 1)) << QByteArray("PS1");
    QTest::newRow("speed, contour controller") << bytes(speed(0, 3)) << QByteArray("SX3");
    QTest::newRow("speed, additional trace type") << bytes(speed(3, 0)) << QByteArray("SX0");
    QTest::newRow("filter 0") << bytes(filter(0)) << QByteArray("PF1");
    QTest::newRow("filter 1") << bytes(filter(1)) << QByteArray("PF2");
    QTest::newRow("trace length 0") << bytes(traceLength(0)) << QByteArray("PL0");
    QTest::newRow("trace length 1") << bytes(traceLength(1)) << QByteArray("PL1");
    QTest::newRow("trace length 10 follows 9") << bytes(traceLength(10)) << QByteArray("PL:");

    QTest::newRow("raw text loses its line feeds") << bytes(raw(QStringLiteral("CS\n"))) << QByteArray("CS");
    QTest::newRow("raw text in UTF-8") << bytes(raw(QStringLiteral("Пр\nи"))) << QByteArray("При");
}

void DeviceCommandsTest::singleCommands()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, expected);
    QCOMPARE(command, expected);
}

void DeviceCommandsTest::startTrace_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<int>("measurementMode");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("contour, mode 0") << 0 << 0 << QStringList{"CS"};
    QTest::newRow("contour, mode 1") << 0 << 1 << QStringList{"Cs"};
    QTest::newRow("contour, mode 2") << 0 << 2 << QStringList{"CS"};
    QTest::newRow("contour, mode 3") << 0 << 3 << QStringList{"CL"};
    QTest::newRow("contour, mode 4") << 0 << 4 << QStringList();
    QTest::newRow("contour with profile, mode 1") << 1 << 1 << QStringList{"Cs"};
    QTest::newRow("contour with profile, mode 3") << 1 << 3 << QStringList{"CL"};
    QTest::newRow("profile ignores the mode") << 2 << 3 << QStringList{"CS"};
    QTest::newRow("additional trace") << 3 << 1 << QStringList{"CS"};
    QTest::newRow("unknown type") << 4 << 0 << QStringList();
    QTest::newRow("negative type") << -1 << 0 << QStringList();
}

void DeviceCommandsTest::startTrace()
{
    QFETCH(int, deviceType);
    QFETCH(int, measurementMode);
    QFETCH(QStringList, expected);
    QCOMPARE(commandList(DeviceCommands::startTrace(deviceType, measurementMode)), expected);
}

void DeviceCommandsTest::stopTraceKeepsTracingOnTheProfileController()
{
    const QStringList profile{"send CC", "send CV"};
    const QStringList contour{"send CC", "clearTracing", "send CA"};
    QCOMPARE(actionText(DeviceCommands::stopTrace(2)), profile);
    QCOMPARE(actionText(DeviceCommands::stopTrace(3)), profile);
    QCOMPARE(actionText(DeviceCommands::stopTrace(0)), contour);
    QCOMPARE(actionText(DeviceCommands::stopTrace(1)), contour);
}

void DeviceCommandsTest::resolutionScaling_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QList<int>>("factors");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("defaults") << 0 << QList<int>{2, 2, 2} << QStringList{"KX02", "KZ02", "KR02"};
    QTest::newRow("two digits") << 1 << QList<int>{12, 5, 7} << QStringList{"KX12", "KZ05", "KR07"};
    QTest::newRow("9 and 10") << 0 << QList<int>{9, 10, 0} << QStringList{"KX09", "KZ10", "KR00"};
    QTest::newRow("profile controller") << 2 << QList<int>{12, 5, 7} << QStringList();
}

void DeviceCommandsTest::resolutionScaling()
{
    QFETCH(int, deviceType);
    QFETCH(QList<int>, factors);
    QFETCH(QStringList, expected);
    QCOMPARE(commandList(DeviceCommands::resolutionScaling(deviceType, factors[0], factors[1], factors[2])), expected);
}

void DeviceCommandsTest::thermalPrinterRowsEndWithTheClosingBytes()
{
    const QString end = QString::fromLatin1("\xD9\x31");
    QCOMPARE(commandList(DeviceCommands::thermalPrinter({"ab", "c"})), (QStringList{"ab", "c", end}));
    QCOMPARE(commandList(DeviceCommands::thermalPrinter({})), QStringList{end});
}

void DeviceCommandsTest::defaultParameterUpload()
{
    const std::string upload = DeviceCommands::parameterUpload(DeviceParameterRecord::fromCalibration(1, 1, 0, 0));
    const QByteArray expected = "O" + QByteArray::fromHex("40420F00 40420F00") + QByteArray(112, '\0');
    QCOMPARE(bytes(upload), expected);
    QCOMPARE(upload.size(), std::size_t(121));
}

void DeviceCommandsTest::parameterRecordRoundsToNearest_data()
{
    QTest::addColumn<QList<double>>("calibration");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("rack angle 1.15 sends 115, not 114")
        << QList<double>{1, 1, 0, 1.15} << recordBytes(1000000, 1000000, 0, 115);
    QTest::newRow("compression 1.0000005 rounds up")
        << QList<double>{1.0000005, 0.9999994, 0, 0} << recordBytes(1000001, 999999, 0, 0);
    QTest::newRow("negative values, two's complement")
        << QList<double>{1, 1, -0.25, -1.5} << recordBytes(1000000, 1000000, -250000, -150);
    QTest::newRow("out of range saturates, NaN gives 0")
        << QList<double>{1e10, -1e10, std::numeric_limits<double>::quiet_NaN(), 0}
        << recordBytes(std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(), 0, 0);
}

void DeviceCommandsTest::parameterRecordRoundsToNearest()
{
    QFETCH(QList<double>, calibration);
    QFETCH(QByteArray, expected);
    const auto record = DeviceParameterRecord::fromCalibration(calibration[0], calibration[1], calibration[2], calibration[3]);
    QCOMPARE(bytes(record.toBytes()), expected);
}

void DeviceCommandsTest::parameterRecordReadBack()
{
    QByteArray received = QByteArray::fromHex("EF7E0E00 40420F00 70 2F FC FF 96000000") + QByteArray(104, '\x7F');
    auto record = DeviceParameterRecord::fromBytes(received.toStdString());
    QVERIFY(record);
    QCOMPARE(record->values[0], 949999);
    QVERIFY(!record->isAccepted());
    QCOMPARE(record->yCompressionRatio(), 1.0);
    QCOMPARE(record->displacementCoefficient(), -0.25);
    QCOMPARE(record->rackAngle(), 1.5);

    record->values[0] = 950000;
    QVERIFY(record->isAccepted());
    QCOMPARE(record->xCompressionRatio(), 0.95);
    QCOMPARE(bytes(DeviceParameterRecord::fromBytes(record->toBytes())->toBytes()), bytes(record->toBytes()));

    QVERIFY(!DeviceParameterRecord::fromBytes(received.left(119).toStdString()));
    QVERIFY(!DeviceParameterRecord::fromBytes((received + 'x').toStdString()));
}

void DeviceCommandsTest::scanSpeedsEndWithALatinC()
{
    QCOMPARE(kScanSpeeds.keys(), (QList<int>{0, 1, 2, 3}));
    QCOMPARE(kScanSpeeds.value(0), QStringLiteral("0.25 мм/") + QLatin1Char('c'));
    QCOMPARE(kScanSpeeds.value(3), QStringLiteral("2.00 мм/") + QLatin1Char('c'));
}

KALVORA_TEST_MAIN(DeviceCommandsTest)
#include "DeviceCommandsTest.moc"
