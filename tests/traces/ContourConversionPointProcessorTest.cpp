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

// Readings of a contour controller with some noise: x in steps, heights and
// console heights wandering.
ProfileData noisyContourRows(int count)
{
    ProfileData rows(3);
    for (int row = 0; row < count; ++row) {
        rows[0].append(row * 0.37 + std::sin(row * 1.3) * 1e-3);
        rows[1].append(120 * std::sin(row / 50.0) + std::cos(row * 7.1));
        rows[2].append(3000 + 40 * std::sin(row / 300.0));
    }
    return rows;
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

    // A block of rows is converted to the same bits as its points one by one,
    // whatever the calibration, with the rows outside the block untouched.
    void aBlockConvertsAsItsPointsDo_data()
    {
        QTest::addColumn<QVector<double>>("calibration"); // angle, kx, ky, kd
        QTest::newRow("defaults") << QVector<double>{0, 1, 1, 0};
        QTest::newRow("scaled, displaced, rotated") << QVector<double>{12.5, 1.0003, 0.9987, 0.0021};
        QTest::newRow("negative zero angle") << QVector<double>{-0.0, 2, 0.5, -1};
        QTest::newRow("not a number") << QVector<double>{qQNaN(), 1, 1, 0};
    }

    void aBlockConvertsAsItsPointsDo()
    {
        QFETCH(QVector<double>, calibration);
        setCalibration(calibration[0], calibration[1], calibration[2], calibration[3]);
        const ProfileData rows = noisyContourRows(1000);
        ProfileData block = rows;
        ContourConversionPointProcessor processor;
        processor.processRows(block, 100, 800);

        for (int row = 0; row < 1000; ++row) {
            QVector<double> point{rows[0][row], rows[1][row], rows[2][row]};
            if (row >= 100 && row < 900)
                processor.process(point);
            for (int i = 0; i < 3; ++i)
                QVERIFY2(sameBits(block[i][row], point[i]) || (std::isnan(block[i][row]) && std::isnan(point[i])),
                         qPrintable(QStringLiteral("row %1, value %2").arg(row).arg(i)));
        }
    }

    // Traces convert their points in blocks when they append batches and when
    // they are rebuilt; their stores hold the same bits as when every point
    // was added and converted on its own.
    void traceStoresMatchPointByPointConversion()
    {
        setCalibration(7.25, 1.0004, 0.9991, 0.0017);
        const ProfileData rows = noisyContourRows(5000);
        CountingTrace single(3);
        single.addPointProcessor(new ContourConversionPointProcessor);
        for (int row = 0; row < 5000; ++row)
            single.addPoint({rows[0][row], rows[1][row], rows[2][row]});
        CountingTrace batched(3);
        batched.addPointProcessor(new ContourConversionPointProcessor);
        for (int first = 0; first < 5000; first += 500) {
            ProfileData batch(3);
            for (int i = 0; i < 3; ++i)
                batch[i] = rows[i].mid(first, 500);
            batched.addPoints(batch);
        }
        CountingTrace rebuilt(3);
        rebuilt.addPointProcessor(new ContourConversionPointProcessor);
        for (int row = 0; row < 5000; ++row)
            rebuilt.addPoint({rows[0][row], rows[1][row], rows[2][row]});
        rebuilt.reprocess();

        const ProfileData expected = *single.lockedData().data;
        for (const CountingTrace* trace : {&batched, &rebuilt}) {
            const ProfileData actual = *trace->lockedData().data;
            for (int i = 0; i < 3; ++i)
                QVERIFY(std::memcmp(actual[i].constData(), expected[i].constData(), 5000 * sizeof(double)) == 0);
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
