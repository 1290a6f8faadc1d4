#include <QtTest>

#include <cmath>
#include <vector>

#include "FuzzyCompare.h"
#include "KalvoraLibrary.h"
#include "ResultIndex.h"
#include "TestMain.h"

using namespace kalvora;

// Amplitude density, material ratio and the core of the material-ratio curve.
class MaterialRatioTest : public QObject
{
    Q_OBJECT

private:
    static constexpr double kUnset = 555.5;

    KalvoraLibrary library;

    // `count` points at each of the given levels (per cent of the range below
    // the highest point), heights = top - level * scale.
    static void addLevel(std::vector<double>& z, int level, int count, double scale = 1.0, double top = 100.0)
    {
        for (int i = 0; i < count; ++i)
            z.push_back(top - level * scale);
    }

    // 100 points: 20 at the top, 10 on each of levels 47..52, 20 at the bottom.
    static std::vector<double> threeClusters(double scale = 1.0, double top = 100.0)
    {
        std::vector<double> z;
        addLevel(z, 0, 20, scale, top);
        for (int level = 47; level <= 52; ++level)
            addLevel(z, level, 10, scale, top);
        addLevel(z, 100, 20, scale, top);
        return z;
    }

    std::vector<double> materialRatio(std::vector<double> z, int a, int level)
    {
        std::vector<double> res(kResultCount, kUnset);
        library.computeDpTp(res.data(), nullptr, z.data(), static_cast<int>(z.size()), a, level + 7, 7);
        return res;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(library.isComplete(), qPrintable(library.error()));
    }

    // The material ratio climbs 20 -> 80 % over levels 47..53 in steps of 10,
    // so the core line is level = 45 + ratio / 10: from level 45 to 55.
    void threeClustersGiveTheCore_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("top");

        QTest::newRow("range 100") << 1.0 << 100.0;
        QTest::newRow("range 25, shifted") << 0.25 << 3.0;
    }

    void threeClustersGiveTheCore()
    {
        QFETCH(double, scale);
        QFETCH(double, top);

        const std::vector<double> r = materialRatio(threeClusters(scale, top), 41, 50);

        KALVORA_COMPARE_NEAR(r[kReducedPeakHeight], 45 * scale, 1e-9);
        KALVORA_COMPARE_NEAR(r[kCoreDepth], 10 * scale, 1e-9);
        KALVORA_COMPARE_NEAR(r[kReducedValleyDepth], 45 * scale, 1e-9);
        KALVORA_COMPARE_NEAR(r[kUpperMaterialRatio], 20, 1e-9);
        KALVORA_COMPARE_NEAR(r[kLowerMaterialRatio], 80, 1e-9);
        QCOMPARE(r[kMaterialRatio], 50.0);
        QCOMPARE(r[kLevel], 50.0);
    }

    // Half the points at the top, half at the bottom: the fit meets 100 %
    // material at level 101, outside the scale, and 0 % exactly at level 0.
    void limitOutsideTheScaleIsNotWritten()
    {
        std::vector<double> z;
        addLevel(z, 0, 50);
        addLevel(z, 100, 50);

        const std::vector<double> r = materialRatio(z, 41, 0);

        QCOMPARE(r[kReducedPeakHeight], 0.0);
        QCOMPARE(r[kUpperMaterialRatio], 0.0);
        QCOMPARE(r[kCoreDepth], kUnset);
        QCOMPARE(r[kReducedValleyDepth], kUnset);
        QCOMPARE(r[kLowerMaterialRatio], kUnset);
    }

    void readsBothCurvesAtTheChosenLevel_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("level");
        QTest::addColumn<double>("density");
        QTest::addColumn<double>("ratio");

        // a = 41: a window of 20 half-level bins, only 10 of them at level 0.
        QTest::newRow("top, narrow window") << 41 << 0 << 20.0 << 0.0;
        QTest::newRow("core, narrow window") << 41 << 50 << 60.0 << 50.0;
        QTest::newRow("edge of the core") << 41 << 45 << 30.0 << 20.0;
        QTest::newRow("bottom, narrow window") << 41 << 100 << 20.0 << 80.0;
        // a = 1: half of the range, bins 2k - 50 .. 2k + 49.
        QTest::newRow("wide window") << 1 << 25 << 50.0 << 20.0;
        QTest::newRow("no window") << 51 << 50 << 0.0 << 50.0;
        QTest::newRow("window past both ends") << -1000 << 70 << 100.0 << 80.0;
    }

    void readsBothCurvesAtTheChosenLevel()
    {
        QFETCH(int, a);
        QFETCH(int, level);
        QFETCH(double, density);
        QFETCH(double, ratio);

        const std::vector<double> r = materialRatio(threeClusters(), a, level);

        KALVORA_COMPARE_NEAR(r[kAmplitudeDensity], density, 1e-9);
        KALVORA_COMPARE_NEAR(r[kMaterialRatio], ratio, 1e-9);
        QCOMPARE(r[kLevel], double(level));
    }

    void touchesNoOtherEntry()
    {
        const std::vector<double> r = materialRatio(threeClusters(), 41, 50);

        for (int i = 0; i < kResultCount; ++i) {
            if (i != kAmplitudeDensity && i != kMaterialRatio && (i < kLevel || i > kLowerMaterialRatio))
                QCOMPARE(r[i], kUnset);
        }
    }

    // All points stand at the highest level; there is no core to fit.
    void flatProfileWritesNoCore_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("level");
        QTest::addColumn<double>("density");
        QTest::addColumn<double>("ratio");

        QTest::newRow("top level") << 10 << 0 << 100.0 << 0.0;
        QTest::newRow("middle level") << 10 << 50 << 0.0 << 100.0;
        QTest::newRow("single point") << 1 << 100 << 0.0 << 100.0;
    }

    void flatProfileWritesNoCore()
    {
        QFETCH(int, count);
        QFETCH(int, level);
        QFETCH(double, density);
        QFETCH(double, ratio);

        const std::vector<double> r = materialRatio(std::vector<double>(count, 4.5), 41, level);

        QCOMPARE(r[kAmplitudeDensity], density);
        QCOMPARE(r[kMaterialRatio], ratio);
        QCOMPARE(r[kLevel], double(level));
        for (int i = kReducedPeakHeight; i <= kLowerMaterialRatio; ++i)
            QCOMPARE(r[i], kUnset);
    }
};

KALVORA_TEST_MAIN(MaterialRatioTest)
#include "MaterialRatioTest.moc"
