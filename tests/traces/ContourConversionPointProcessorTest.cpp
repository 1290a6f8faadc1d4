#include <QtTest>

#include "AppSettings.h"
#include "ContourConversionPointProcessor.h"
#include "FuzzyCompare.h"
#include "TestMain.h"
#include "TestTraces.h"

#include <cstring>

namespace {

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The conversion written out in full, with sin and cos taken for every point.
QVector<double> convertedDirectly(const QVector<double>& calibration, QVector<double> p)
{
    const double rackAngle = calibration[0];
    p[1] = calibration[2] * p[1];
    p[0] = calibration[1] * p[0];
    p[0] = p[0] - p[2] * calibration[3];
    p[1] = p[1] + p[2] / 1000;
    const double r = rackAngle * 0.017453292519943295;
    p[0] = p[0] - std::sin(r) * p[1];
    p[1] = std::cos(r) * p[1];
    return p;
}

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
            KALVORA_COMPARE_NEAR_AT(point[i], converted[i], 1e-12 * (1 + std::abs(converted[i])),
                                    QStringLiteral("value %1").arg(i));
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

    // The rotation is kept while the angle stays the same; every change of the
    // angle, from 0 to -0 as well, must give the bits of a fresh computation.
    void everyChangeOfTheAngleTakesEffectBitForBit()
    {
        const QVector<double> angles{0.0, -0.0, 0.0, 30.0, 30.0, 1e-300, -30.0, qQNaN(), 90.0, 30.0, -0.0};
        const QVector<double> scales{1.5, 0.75, 0.002};
        const QVector<QVector<double>> points{{-0.0, 0.0, 0.0}, {10, 2, 3000}, {-7.25, 1e-3, -40}};
        ContourConversionPointProcessor processor;
        for (double angle : angles) {
            const QVector<double> calibration{angle, scales[0], scales[1], scales[2]};
            setCalibration(angle, scales[0], scales[1], scales[2]);
            for (const QVector<double>& point : points) {
                QVector<double> converted = point;
                processor.process(converted);
                const QVector<double> expected = convertedDirectly(calibration, point);
                for (int i = 0; i < 3; ++i)
                    QVERIFY2(sameBits(converted[i], expected[i]) || (std::isnan(converted[i]) && std::isnan(expected[i])),
                             qPrintable(QStringLiteral("angle %1, value %2: %3 instead of %4")
                                            .arg(angle).arg(i).arg(converted[i], 0, 'g', 17).arg(expected[i], 0, 'g', 17)));
            }
        }
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
