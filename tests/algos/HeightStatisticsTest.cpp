#include <QtTest>

#include <cmath>
#include <limits>

#include "FuzzyCompare.h"
#include "HeightDistribution.h"
#include "MaterialRatio.h"
#include "ProfileFixtures.h"
#include "TestMain.h"

namespace {

ProfileData heightsOnly(const QVector<double>& heights)
{
    ProfileData profile(2);
    for (int i = 0; i < heights.size(); ++i) {
        profile[0].append(i);
        profile[1].append(heights.at(i));
    }
    return profile;
}

// The curve read plainly: one count of all heights per level.
ProfileData referenceCurve(const ProfileData& profile)
{
    const QVector<double>& h = profile.at(1);
    const double min = *std::min_element(h.begin(), h.end());
    const double max = *std::max_element(h.begin(), h.end());
    QVector<double> ratios, levels;
    int all = 0;
    for (int j = 0; j < 100; ++j) {
        const double level = min + (max - min) / 100 * j;
        const int count = int(std::count_if(h.begin(), h.end(), [=](double v) { return v >= level; }));
        if (j == 0)
            all = count;
        ratios.prepend(double(count) / all * 100);
        levels.prepend(level);
    }
    return {ratios, levels};
}

// The bands read plainly: the loop of lower and upper percentages, one count
// of all heights per band.
ProfileData referenceDistribution(const ProfileData& profile, int a, double low, double high)
{
    const QVector<double>& h = profile.at(1);
    ProfileData result(2);
    int g = 0, e = 1;
    while (true) {
        const double t = low + g / 100.0 * (high - low);
        const double o = low + e / 100.0 * (high - low);
        const int nextG = (e - g > a || e == 100) ? g + 1 : g;
        const int count = int(std::count_if(h.begin(), h.end(), [=](double v) { return t <= v && v <= o; }));
        result[0].append((o - t) * 0.5 + t);
        result[1].append(double(count) / h.size() * 100);
        if (e < 100)
            ++e;
        g = nextG;
        if (g >= 100)
            break;
    }
    return result;
}

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

} // namespace

class HeightStatisticsTest : public QObject
{
    Q_OBJECT

private slots:
    void curveOfEvenHeights()
    {
        QVector<double> heights;
        for (int h = 0; h <= 100; ++h)
            heights.append(h);
        const ProfileData curve = Algos::materialRatioCurve(heightsOnly(heights));
        QCOMPARE(curve.size(), 2);
        QCOMPARE(curve.at(0).size(), 100);
        // Row 0 is the level 1 % below the top; points on a level count.
        QCOMPARE(curve.at(1).first(), 99.0);
        QCOMPARE(curve.at(0).first(), 2.0 / 101 * 100);
        QCOMPARE(curve.at(0).last(), 100.0);
        QCOMPARE(curve.at(1).last(), 0.0);
        KALVORA_COMPARE_NEAR(Algos::Rk(curve), 99, 1e-9);
        KALVORA_COMPARE_NEAR(Algos::Rpk(curve), 0, 1e-9);
        KALVORA_COMPARE_NEAR(Algos::Rvk(curve), 0, 1e-9);
    }

    void noCurve_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::newRow("no columns") << ProfileData();
        QTest::newRow("no heights") << ProfileData{{1, 2, 3}};
        QTest::newRow("flat") << heightsOnly({2, 2, 2, 2});
        QTest::newRow("one point") << heightsOnly({5});
        QTest::newRow("a height not a number") << heightsOnly({1, kNan, 3, 0});
        QTest::newRow("an infinite height") << heightsOnly({1, 2, std::numeric_limits<double>::infinity()});
    }

    void noCurve()
    {
        QFETCH(ProfileData, profile);
        const ProfileData curve = Algos::materialRatioCurve(profile);
        QCOMPARE(curve, ProfileData(2));
        QCOMPARE(Algos::Rk(curve), 0.0);
        QCOMPARE(Algos::Rpk(curve), 0.0);
        QCOMPARE(Algos::Rvk(curve), 0.0);
        QCOMPARE(Algos::Mr1(curve), 0.0);
        QCOMPARE(Algos::Mr2(curve), 0.0);
    }

    void curveEqualsPlainReading_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::newRow("rough, many ties") << fixtures::randomProfile(30000, 11);
        QTest::newRow("rough, fine grid") << fixtures::randomProfile(30000, 12, 1, 1e-3);
        QTest::newRow("cosine") << fixtures::cosine(1.5, 100, 4400, 0.5);
        QTest::newRow("two heights") << heightsOnly({0, 1, 0, 1, 1});
    }

    void curveEqualsPlainReading()
    {
        QFETCH(ProfileData, profile);
        QCOMPARE(Algos::materialRatioCurve(profile), referenceCurve(profile));
    }

    // A triangle wave spreads its heights evenly: the curve is a straight line,
    // so the core is all of it.
    void triangleWave()
    {
        const ProfileData profile = fixtures::sampled(0, 4000, 0.25, [](double x) {
            const double phase = std::fmod(x, 100) / 100;
            return phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
        });
        const ProfileData curve = Algos::materialRatioCurve(profile);
        KALVORA_COMPARE_NEAR(Algos::Rpk(curve), 0, 0.02);
        KALVORA_COMPARE_NEAR(Algos::Rvk(curve), 0, 0.02);
        KALVORA_COMPARE_NEAR(Algos::Mr1(curve), 1, 1.5);
        KALVORA_COMPARE_NEAR(Algos::Mr2(curve), 100, 0.5);
    }

    // More than 60 % of the points in the top 1 %: no run of the curve spans
    // 40 %, so there is no core line.
    void noRunOfFortyPercent()
    {
        QVector<double> heights(70, 100.0);
        for (int h = 0; h < 30; ++h)
            heights.append(h);
        const ProfileData curve = Algos::materialRatioCurve(heightsOnly(heights));
        QCOMPARE(curve.at(0).first(), 70.0);
        QVERIFY(!Algos::leastSlopeSecant(curve).isValid());
        QCOMPARE(Algos::Rk(curve), 0.0);
        QCOMPARE(Algos::Rpk(curve), 0.0);
        QCOMPARE(Algos::Rvk(curve), 0.0);
        QCOMPARE(Algos::Mr1(curve), 0.0);
        QCOMPARE(Algos::Mr2(curve), 0.0);
    }

    void bandCount_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("rows");
        QTest::newRow("10") << 10 << 110;
        QTest::newRow("0") << 0 << 100;
        QTest::newRow("negative") << -3 << 100;
        QTest::newRow("99") << 99 << 199;
    }

    void bandCount()
    {
        QFETCH(int, band);
        QFETCH(int, rows);
        const ProfileData distribution = Algos::heightDistribution(heightsOnly({0, 10}), band, 0, 10);
        QCOMPARE(distribution.at(0).size(), rows);
        QCOMPARE(distribution.at(1).size(), rows);
        QCOMPARE(distribution.at(0).first(), 0.05);  // the band 0 % to 1 %
        QCOMPARE(distribution.at(0).last(), 9.95);   // the band 99 % to 100 %
    }

    // A height on the border of two bands counts in both.
    void heightOnBandBorder()
    {
        const ProfileData distribution = Algos::heightDistribution(heightsOnly({0.25, 0.5, 0.5, 0.5}), 0, 0, 1);
        QCOMPARE(distribution.at(1).at(23), 0.0);   // [23 %, 24 %]
        QCOMPARE(distribution.at(1).at(24), 25.0);  // [24 %, 25 %]
        QCOMPARE(distribution.at(1).at(25), 25.0);  // [25 %, 26 %]
        QCOMPARE(distribution.at(1).at(49), 75.0);  // [49 %, 50 %]
        QCOMPARE(distribution.at(1).at(50), 75.0);  // [50 %, 51 %]
        QCOMPARE(distribution.at(1).at(51), 0.0);
    }

    void distributionEqualsPlainReading_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::addColumn<int>("band");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        const ProfileData rough = fixtures::randomProfile(30000, 21);
        QTest::newRow("bounds on the height grid") << rough << 10 << -3.0 << 5.0;
        QTest::newRow("part of the range") << rough << 4 << -1.0 << 0.5;
        QTest::newRow("range beyond the heights") << rough << 10 << -100.0 << 100.0;
        QTest::newRow("one level") << rough << 10 << 1.0 << 1.0;
        QTest::newRow("low above high") << rough << 10 << 2.0 << -2.0;
        QTest::newRow("fine grid") << fixtures::randomProfile(30000, 22, 1, 1e-3) << 25 << -4.0 << 4.0;
        ProfileData withNan = rough;
        withNan[1][10] = kNan;
        withNan[1][20] = std::numeric_limits<double>::infinity();
        QTest::newRow("heights not finite") << withNan << 10 << -3.0 << 5.0;
    }

    void distributionEqualsPlainReading()
    {
        QFETCH(ProfileData, profile);
        QFETCH(int, band);
        QFETCH(double, low);
        QFETCH(double, high);
        QCOMPARE(Algos::heightDistribution(profile, band, low, high), referenceDistribution(profile, band, low, high));
    }

    void noDistribution_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::newRow("no columns") << ProfileData();
        QTest::newRow("one point") << heightsOnly({1});
        QTest::newRow("columns of different length") << ProfileData{{0, 1, 2}, {0, 1}};
    }

    void noDistribution()
    {
        QFETCH(ProfileData, profile);
        QCOMPARE(Algos::heightDistribution(profile, 10, 0, 1), ProfileData());
        const double xRange[2] = {-1, 10};
        const double heightRange[2] = {-1, 10};
        QCOMPARE(Algos::heightDistributionInWindow(profile, 10, xRange, heightRange), ProfileData());
    }

    // Points on the window's borders are left out; shares are of the points kept.
    void distributionInWindow()
    {
        const ProfileData profile = {{0, 1, 2, 3, 4, 5}, {-5, 1, 2, 2, 9, 20}};
        const double xRange[2] = {0, 5};
        const double heightRange[2] = {1, 10};
        const ProfileData expected = Algos::heightDistribution({{2, 3, 4}, {2, 2, 9}}, 10, 1, 10);
        QCOMPARE(Algos::heightDistributionInWindow(profile, 10, xRange, heightRange), expected);
        // The height range shrinks to what the whole profile reaches.
        const double wideHeights[2] = {-100, 100};
        QCOMPARE(Algos::heightDistributionInWindow(profile, 10, xRange, wideHeights),
                 Algos::heightDistribution({{1, 2, 3, 4}, {1, 2, 2, 9}}, 10, -5, 20));
    }

    void Dp_data()
    {
        QTest::addColumn<ProfileData>("distribution");
        QTest::addColumn<double>("level");
        QTest::addColumn<double>("expected");
        const ProfileData distribution = {{0.5, 1.5, 2.5}, {10, 20, 30}};
        QTest::newRow("between middles") << distribution << 1.0 << 20.0;
        QTest::newRow("on a middle") << distribution << 1.5 << 30.0;
        QTest::newRow("below all") << distribution << -7.0 << 10.0;
        QTest::newRow("above all") << distribution << 2.5 << 0.0;
        QTest::newRow("one row") << ProfileData{{0.5}, {10}} << 0.0 << 0.0;
        QTest::newRow("columns of different length") << ProfileData{{0.5, 1.5}, {10}} << 0.0 << 0.0;
        QTest::newRow("empty") << ProfileData() << 0.0 << 0.0;
    }

    void Dp()
    {
        QFETCH(ProfileData, distribution);
        QFETCH(double, level);
        QFETCH(double, expected);
        QCOMPARE(Algos::Dp(distribution, level), expected);
    }

    void materialLength_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::addColumn<double>("expected");
        QTest::newRow("one stretch") << ProfileData{{0, 1, 2, 3}, {0, 2, 2, 0}} << 2.0;
        QTest::newRow("two stretches") << ProfileData{{0, 1, 2, 3, 5, 6}, {0, 2, 0, 3, 3, -1}} << 4.0;
        QTest::newRow("open at the end") << ProfileData{{0, 1, 2, 3}, {0, 2, 0, 2}} << 1.0;
        QTest::newRow("on the level neither starts nor ends")
            << ProfileData{{0, 1, 2, 3, 4}, {1, 2, 1, 1, 0}} << 3.0;
        QTest::newRow("one point") << ProfileData{{0}, {5}} << 0.0;
    }

    void materialLength()
    {
        QFETCH(ProfileData, profile);
        QFETCH(double, expected);
        QCOMPARE(Algos::materialLengthAtLevel(profile, 1), expected);
    }

    // A square wave lies above its middle for half of every period.
    void etaPAndTp()
    {
        const ProfileData profile = fixtures::sampled(0, 4400, 1, [](double x) {
            return std::fmod(x, 100) < 50 ? 1 : -1;
        });
        KALVORA_COMPARE_NEAR(Algos::tp(profile, 800, 0), 0.5, 0.01);
        KALVORA_COMPARE_NEAR(Algos::etaP(profile, 800, 0), 400, 8);
        QCOMPARE(Algos::tp(profile, 5000, 0), 0.0);
        QCOMPARE(Algos::etaP(profile, 0, 0), 0.0);
    }
};

KALVORA_TEST_MAIN(HeightStatisticsTest)
#include "HeightStatisticsTest.moc"
