#include <QtTest>

#include <cmath>
#include <vector>

#include "FuzzyCompare.h"
#include "KalvoraLibrary.h"
#include "ResultIndex.h"
#include "TestMain.h"

using namespace kalvora;

Q_DECLARE_METATYPE(std::vector<double>)

// Roughness and waviness parameters into the 40-entry result array.
class LineParametersTest : public QObject
{
    Q_OBJECT

private:
    struct Profile
    {
        std::vector<double> x;
        std::vector<double> z;
        int size() const { return static_cast<int>(z.size()); }
    };

    KalvoraLibrary library;

    static Profile sampled(const std::vector<double>& heights, double step = 1.0)
    {
        Profile p{std::vector<double>(heights.size()), heights};
        for (std::size_t i = 0; i < heights.size(); ++i)
            p.x[i] = static_cast<double>(i) * step;
        return p;
    }

    static Profile sine(double amplitude, double wavelength, double step, int periods)
    {
        const int n = static_cast<int>(std::lround(periods * wavelength / step));
        std::vector<double> z(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            z[i] = amplitude * std::sin(2 * M_PI * i * step / wavelength + 0.3);
        return sampled(z, step);
    }

    static std::vector<double> numbered()
    {
        std::vector<double> res(kResultCount);
        for (int i = 0; i < kResultCount; ++i)
            res[i] = 100.0 + i;
        return res;
    }

    std::vector<double> roughness(Profile p, double step = 1.0)
    {
        std::vector<double> res = numbered();
        library.calculateLine(res.data(), p.x.data(), p.z.data(), p.size(), step);
        return res;
    }

    static double degrees(double radians) { return radians * 180.0 / M_PI; }

private slots:
    void initTestCase()
    {
        QVERIFY2(library.isComplete(), qPrintable(library.error()));
    }

    void sineGivesItsAmplitudeAndSpacingParameters_data()
    {
        QTest::addColumn<double>("amplitude");
        QTest::addColumn<double>("wavelength");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("periods");

        QTest::newRow("coarse") << 1.0 << 100.0 << 0.5 << 8;
        QTest::newRow("fine") << 0.02 << 0.8 << 0.004 << 8;
        QTest::newRow("six periods") << 5.0 << 250.0 << 1.0 << 6;
    }

    void sineGivesItsAmplitudeAndSpacingParameters()
    {
        QFETCH(double, amplitude);
        QFETCH(double, wavelength);
        QFETCH(double, step);
        QFETCH(int, periods);
        const Profile p = sine(amplitude, wavelength, step, periods);
        const double a = amplitude;

        const std::vector<double> r = roughness(p, step);

        KALVORA_COMPARE_NEAR(r[kArithmeticMeanDeviation], 2 * a / M_PI, 0.005 * a);
        KALVORA_COMPARE_NEAR(r[kRmsDeviation], a / std::sqrt(2.0), 0.005 * a);
        KALVORA_COMPARE_NEAR(r[kTenPointHeight], 2 * a, 0.01 * a);
        KALVORA_COMPARE_NEAR(r[kTotalHeight], 2 * a, 0.01 * a);
        KALVORA_COMPARE_NEAR(r[kPeakHeight], a, 0.01 * a);
        KALVORA_COMPARE_NEAR(r[kValleyDepth], a, 0.01 * a);
        KALVORA_COMPARE_NEAR(r[kCrossingSpacing], wavelength, step);
        KALVORA_COMPARE_NEAR(r[kPeakSpacing], wavelength, step);
        KALVORA_COMPARE_NEAR(r[kCrossingDensity], 10000 / wavelength, 10000 / wavelength * 0.01);
        KALVORA_COMPARE_NEAR(r[kMeanSlopeAngle], degrees(std::atan(4 * a / wavelength)), 0.01 * r[kMeanSlopeAngle]);
        KALVORA_COMPARE_NEAR(r[kRmsSlopeAngle], degrees(std::atan(2 * M_PI * a / wavelength / std::sqrt(2.0))),
                             0.01 * r[kRmsSlopeAngle]);
        KALVORA_COMPARE_NEAR(r[kMeanWavelength], r[kArithmeticMeanDeviation] * 360 / r[kMeanSlopeAngle], 1e-12);
        KALVORA_COMPARE_NEAR(r[kRmsWavelength], r[kArithmeticMeanDeviation] * 360 / r[kRmsSlopeAngle], 1e-12);
        QVERIFY(r[kDevelopedLength] > p.x.back());
        KALVORA_COMPARE_NEAR(r[kDevelopedLengthRatio], r[kDevelopedLength] / p.x.back(), 1e-12);
        KALVORA_COMPARE_NEAR(r[kMeanDepthBelowTop], 0.1 * a, 0.001 * a);
    }

    void straightLineHasNoSpacings_data()
    {
        QTest::addColumn<double>("slope");

        QTest::newRow("rising") << 0.2;
        QTest::newRow("falling") << -0.2;
    }

    void straightLineHasNoSpacings()
    {
        QFETCH(double, slope);
        const double step = 0.5;
        std::vector<double> z(201);
        for (std::size_t i = 0; i < z.size(); ++i)
            z[i] = 3.0 + slope * i * step;
        const double length = 100.0, rise = std::fabs(slope) * length;

        const std::vector<double> r = roughness(sampled(z, step), step);

        KALVORA_COMPARE_NEAR(r[kArithmeticMeanDeviation], rise / 4, 0.01 * rise);
        KALVORA_COMPARE_NEAR(r[kRmsDeviation], rise / std::sqrt(12.0), 0.01 * rise);
        KALVORA_COMPARE_NEAR(r[kTotalHeight], rise, 1e-9);
        KALVORA_COMPARE_NEAR(r[kPeakHeight], rise / 2, 1e-9);
        KALVORA_COMPARE_NEAR(r[kValleyDepth], rise / 2, 1e-9);
        KALVORA_COMPARE_NEAR(r[kMeanSlopeAngle], degrees(std::atan(std::fabs(slope))), 1e-9);
        KALVORA_COMPARE_NEAR(r[kRmsSlopeAngle], degrees(std::atan(std::fabs(slope))), 1e-9);
        KALVORA_COMPARE_NEAR(r[kDevelopedLength], length * std::sqrt(1 + slope * slope), 1e-9);
        KALVORA_COMPARE_NEAR(r[kDevelopedLengthRatio], std::sqrt(1 + slope * slope), 1e-12);
        KALVORA_COMPARE_NEAR(r[kMeanDepthBelowTop], 0.05 * rise, 1e-9);
        for (int i : {int(kTenPointHeight), 2, int(kCrossingSpacing), int(kPeakSpacing), int(kCrossingDensity)})
            QCOMPARE(r[i], kNoValue);
        for (int i = 30; i < kResultCount; ++i)
            QCOMPARE(r[i], kNoValue);
        QCOMPARE(r[kCallerEntry], 100.0 + kCallerEntry);
    }

    // Alternating samples p, -q: one downward crossing per pair; each interval
    // between crossings holds one top and one bottom.
    void tenPointHeightNeedsSixCrossings_data()
    {
        QTest::addColumn<std::vector<double>>("tops");
        QTest::addColumn<std::vector<double>>("depths");
        QTest::addColumn<double>("tenPointHeight");

        QTest::newRow("five crossings") << std::vector<double>{1, 1, 1, 1, 1} << std::vector<double>{1, 1, 1, 1, 1}
                                        << kNoValue;
        QTest::newRow("six crossings") << std::vector<double>{1, 1, 1, 1, 1, 1}
                                       << std::vector<double>{1, 1, 1, 1, 1, 1} << 2.0;
        // Tops 2..7 and bottoms -7..-2 over the six intervals: the five highest
        // tops and the five deepest bottoms come from different intervals.
        QTest::newRow("seven crossings") << std::vector<double>{1, 2, 3, 4, 5, 6, 7}
                                         << std::vector<double>{7, 6, 5, 4, 3, 2, 1} << 10.0;
    }

    void tenPointHeightNeedsSixCrossings()
    {
        QFETCH(std::vector<double>, tops);
        QFETCH(std::vector<double>, depths);
        QFETCH(double, tenPointHeight);
        std::vector<double> z;
        for (std::size_t k = 0; k < tops.size(); ++k) {
            z.push_back(tops[k]);
            z.push_back(-depths[k]);
        }

        const std::vector<double> r = roughness(sampled(z));

        KALVORA_COMPARE_NEAR(r[kTenPointHeight], tenPointHeight, 1e-12);
        KALVORA_COMPARE_NEAR(r[kCrossingSpacing], 2.0, 1e-12);
        KALVORA_COMPARE_NEAR(r[kCrossingDensity], 5000.0, 1e-9);
    }

    // A flat top counts as one peak at its last point, and the depth entry
    // sees the heights as the peak search levelled them.
    void flatTopsCountOnceAtTheirEnd_data()
    {
        QTest::addColumn<std::vector<double>>("heights");
        QTest::addColumn<double>("peakSpacing");
        QTest::addColumn<double>("meanDepthBelowTop");

        QTest::newRow("0,2,2,0") << std::vector<double>{0, 2, 2, 0} << kNoValue << 0.4 / 3;
        QTest::newRow("two flat tops") << std::vector<double>{0, 2, 2, 0, 3, 3, 0} << 3.0 << 1.3 / 6;
    }

    void flatTopsCountOnceAtTheirEnd()
    {
        QFETCH(std::vector<double>, heights);
        QFETCH(double, peakSpacing);
        QFETCH(double, meanDepthBelowTop);
        Profile p = sampled(heights);
        std::vector<double> res(kResultCount, 0.0);

        library.calculateLine(res.data(), p.x.data(), p.z.data(), p.size(), 1.0);

        KALVORA_COMPARE_NEAR(res[kPeakSpacing], peakSpacing, 1e-12);
        KALVORA_COMPARE_NEAR(res[kMeanDepthBelowTop], meanDepthBelowTop, 1e-12);
        QVERIFY(p.z == heights);
    }

    void materialRatioAfterRoughnessSeesTheCallersHeights()
    {
        std::vector<double> z;
        for (int k = 0; k < 20; ++k)
            z.insert(z.end(), {0.0, 2.0 + k % 3, 2.0 + k % 3, 0.5, 1.0, 1.0, -1.0});
        Profile p = sampled(z);

        std::vector<double> fresh(kResultCount, kNoValue);
        std::vector<double> copy = z;
        library.computeDpTp(fresh.data(), nullptr, copy.data(), p.size(), 41, 30, 0);

        std::vector<double> res(kResultCount, 0.0);
        library.calculateLine(res.data(), p.x.data(), p.z.data(), p.size(), 1.0);
        library.computeDpTp(res.data(), nullptr, p.z.data(), p.size(), 41, 30, 0);

        QVERIFY(p.z == z);
        for (int i : {kAmplitudeDensity, kMaterialRatio, kLevel, kReducedPeakHeight, kCoreDepth, kReducedValleyDepth,
                      kUpperMaterialRatio, kLowerMaterialRatio})
            QCOMPARE(res[i], fresh[i]);
    }

    void wavinessWritesOnlyItsOwnEntries()
    {
        Profile p = sine(3.0, 50.0, 0.5, 4);
        const std::vector<double> line = roughness(p, 0.5);

        std::vector<double> res = numbered();
        library.calculateLineW(res.data(), p.x.data(), p.z.data(), p.size());

        std::vector<double> expected = numbered();
        expected[kWavinessTotalHeight] = line[kTotalHeight];
        expected[kWavinessMeanDeviation] = line[kArithmeticMeanDeviation];
        expected[kWavinessRmsDeviation] = line[kRmsDeviation];
        expected[kWavinessCrossingSpacing] = line[kCrossingSpacing];
        QCOMPARE(res, expected);
    }

    void wavinessWithoutTwoCrossingsKeepsTheSpacingEntry()
    {
        Profile p = sampled({0.0, 1.0, 2.0, 1.5, -1.0, -2.0});
        std::vector<double> res = numbered();

        library.calculateLineW(res.data(), p.x.data(), p.z.data(), p.size());

        QCOMPARE(res[kWavinessCrossingSpacing], 100.0 + kWavinessCrossingSpacing);
        KALVORA_COMPARE_NEAR(res[kWavinessTotalHeight], 4.0, 1e-12);
    }
};

KALVORA_TEST_MAIN(LineParametersTest)
#include "LineParametersTest.moc"
