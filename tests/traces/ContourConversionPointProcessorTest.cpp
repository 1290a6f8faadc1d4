#include <QtTest>

#include "AppSettings.h"
#include "ContourConversionPointProcessor.h"
#include "TestMain.h"
#include "TestTraces.h"

namespace {

void setCalibration(double rackAngle, double xRatio, double yRatio, double displacement)
{
    CalibrationSettings& c = AppSettings::instance().calibration;
    c.rack_prpendicular = rackAngle;
    c.x_axis_compression_ratio = xRatio;
    c.y_axis_compression_ratio = yRatio;
    c.displacement_coefficient = displacement;
}

} // namespace

class ContourConversionPointProcessorTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setCalibration(0, 1, 1, 0); }

    void convertsAPoint_data()
    {
        QTest::addColumn<QVector<double>>("calibration"); // angle, kx, ky, kd
        QTest::addColumn<QVector<double>>("point");
        QTest::addColumn<QVector<double>>("converted");
        QTest::newRow("defaults add the console height in thousandths")
            << QVector<double>{0, 1, 1, 0} << QVector<double>{10, 2, 3000} << QVector<double>{10, 5, 3000};
        // h = 3 * 2 + 4 / 1000 = 6.004; x = 2 * 10 - 4 * 0.5 = 18; then rotated by 30 degrees.
        QTest::newRow("scales, displacement and rack angle")
            << QVector<double>{30, 2, 3, 0.5} << QVector<double>{10, 2, 4}
            << QVector<double>{18 - 0.5 * 6.004, 6.004 * std::sqrt(3.0) / 2, 4};
        QTest::newRow("negative rack angle")
            << QVector<double>{-30, 1, 1, 0} << QVector<double>{0, 1, 0}
            << QVector<double>{0.5, std::sqrt(3.0) / 2, 0};
    }

    void convertsAPoint()
    {
        QFETCH(QVector<double>, calibration);
        QFETCH(QVector<double>, point);
        QFETCH(QVector<double>, converted);
        setCalibration(calibration[0], calibration[1], calibration[2], calibration[3]);
        ContourConversionPointProcessor().process(point);
        QCOMPARE(point.size(), 3);
        for (int i = 0; i < 3; ++i)
            QVERIFY2(std::abs(point[i] - converted[i]) <= 1e-12 * (1 + std::abs(converted[i])),
                     qPrintable(QStringLiteral("value %1: %2 instead of %3").arg(i).arg(point[i]).arg(converted[i])));
    }

    void rackAt90DegreesExactly()
    {
        setCalibration(90, 1, 1, 0);
        QVector<double> point{10, 2, 0};
        ContourConversionPointProcessor().process(point);
        QCOMPARE(point[0], 8.0);
        QCOMPARE(point[1], 1.2246467991473532e-16);
    }

    void shortPointsAreLeftAlone()
    {
        setCalibration(45, 2, 2, 1);
        QVector<double> point{1, 2};
        ContourConversionPointProcessor().process(point);
        QCOMPARE(point, (QVector<double>{1, 2}));
    }

    void theCurrentCalibrationAppliesToRebuiltTraces()
    {
        CountingTrace trace(3);
        trace.addPointProcessor(new ContourConversionPointProcessor);
        trace.addPoint({10, 2, 0});
        QCOMPARE(column(trace.lockedData(), 0), (QVector<double>{10}));

        setCalibration(90, 1, 1, 0);
        trace.addPoint({20, 1, 0});
        QCOMPARE(column(trace.lockedData(), 0), (QVector<double>{10, 19}));

        trace.reprocess();
        QCOMPARE(column(trace.lockedData(), 0), (QVector<double>{8, 19}));
        QCOMPARE(column(trace.lockedRawData(), 0), (QVector<double>{10, 20}));
    }
};

KALVORA_TEST_MAIN(ContourConversionPointProcessorTest)
#include "ContourConversionPointProcessorTest.moc"
