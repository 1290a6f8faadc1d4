#include <QtTest>

#include <cmath>
#include <random>

#include "AreaRatioCurve.h"
#include "FuzzyCompare.h"
#include "TestMain.h"

namespace {

// The curve's definition as it reads: one pass over the points per level.
QVector<double> percentsLevelByLevel(const QVector<double>& x, const QVector<double>& heights, double low,
                                     double high)
{
    QVector<double> areas;
    for (int j = 0; j < 100; ++j) {
        const double level = low + j * (high - low) / 100;
        double area = 0;
        for (int i = 0; i + 2 < x.size(); ++i)
            if (heights[i] > level)
                area += std::abs((heights[i] + heights[i + 1]) * (x[i + 1] - x[i]) * 0.5);
        areas.append(area);
    }
    // Areas that are not numbers have no place in the largest one.
    double largest = 0;
    for (double area : areas)
        largest = std::isnan(area) ? largest : std::max(largest, area);
    QVector<double> percents;
    for (double area : areas)
        percents.append(100 * area / largest);
    return percents;
}

// Percents per band of levels: {first level, last level, percent}.
struct Band
{
    int first;
    int last;
    double percent;
};

} // namespace

Q_DECLARE_METATYPE(QVector<Band>)

class AreaRatioCurveTest : public QObject
{
    Q_OBJECT
private slots:
    void handComputedCurves_data()
    {
        QTest::addColumn<QVector<double>>("x");
        QTest::addColumn<QVector<double>>("heights");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<QVector<Band>>("bands");

        // Levels 0, 0.05, ..., 4.95. Trapezoids 0-1: 2 (first height 1),
        // 1-2: 2.5 (3), 2-3: 3 (2); the last pair 3-4 does not count.
        QTest::newRow("five points") << QVector<double>{0, 1, 2, 3, 4} << QVector<double>{1, 3, 2, 4, 0} << 0.0
                                     << 5.0
                                     << QVector<Band>{{0, 19, 100}, {20, 39, 100 * 5.5 / 7.5},
                                                      {40, 59, 100 * 2.5 / 7.5}, {60, 99, 0}};
        QTest::newRow("all above the top") << QVector<double>{0, 2, 3, 7} << QVector<double>{12, 15, 11, 13} << 0.0
                                           << 10.0 << QVector<Band>{{0, 99, 100}};
        QTest::newRow("x falling counts the same") << QVector<double>{4, 3, 2, 1, 0} << QVector<double>{1, 3, 2, 4, 0}
                                                   << 0.0 << 5.0
                                                   << QVector<Band>{{0, 19, 100}, {20, 39, 100 * 5.5 / 7.5},
                                                                    {40, 59, 100 * 2.5 / 7.5}, {60, 99, 0}};
    }

    void handComputedCurves()
    {
        QFETCH(QVector<double>, x);
        QFETCH(QVector<double>, heights);
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(QVector<Band>, bands);
        const Algos::AreaRatioCurve curve = Algos::areaRatioCurve(x, heights, low, high);
        QCOMPARE(curve.levels.size(), 100);
        QCOMPARE(curve.levels.first(), low);
        QCOMPARE(curve.levels.last(), low + 99 * (high - low) / 100);
        for (const Band& band : bands)
            for (int j = band.first; j <= band.last; ++j)
                KALVORA_COMPARE_NEAR_AT(curve.percents[j], band.percent, 1e-12, QStringLiteral("level %1").arg(j));
    }

    void degenerateProfiles()
    {
        // Fewer than three points hold no trapezoid that counts: 0 / 0.
        for (const QVector<double>& x : {QVector<double>{}, QVector<double>{1}, QVector<double>{1, 2}}) {
            const Algos::AreaRatioCurve curve = Algos::areaRatioCurve(x, x, 0, 1);
            QCOMPARE(curve.percents.size(), 100);
            QVERIFY(std::isnan(curve.percents[0]) && std::isnan(curve.percents[99]));
        }
        // All below the lowest level.
        const Algos::AreaRatioCurve below = Algos::areaRatioCurve({0, 1, 2, 3}, {-1, -1, -1, -1}, 0, 1);
        QVERIFY(std::isnan(below.percents[50]));
    }

    void onePassEqualsLevelByLevel_data()
    {
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<bool>("withGaps");
        QTest::newRow("window inside the heights") << -0.8 << 0.9 << false;
        QTest::newRow("window wider than the heights") << -3.0 << 5.0 << false;
        QTest::newRow("single height level") << 0.25 << 0.25 << false;
        QTest::newRow("levels falling") << 0.9 << -0.8 << false;
        QTest::newRow("heights that are not numbers") << -0.8 << 0.9 << true;
    }

    void onePassEqualsLevelByLevel()
    {
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(bool, withGaps);
        std::mt19937 random(11);
        std::uniform_real_distribution<double> height(-1, 1);
        std::uniform_real_distribution<double> step(0.1, 2);
        QVector<double> x, heights;
        double position = 0;
        for (int i = 0; i < 5000; ++i) {
            x.append(position += step(random));
            heights.append(height(random));
        }
        if (withGaps)
            heights[1234] = heights[2000] = std::nan("");

        const Algos::AreaRatioCurve curve = Algos::areaRatioCurve(x, heights, low, high);
        const QVector<double> expected = percentsLevelByLevel(x, heights, low, high);
        for (int j = 0; j < 100; ++j) {
            if (std::isnan(curve.percents[j]) && std::isnan(expected[j]))
                continue;
            KALVORA_COMPARE_NEAR_AT(curve.percents[j], expected[j], 1e-9 * std::abs(expected[j]),
                                    QStringLiteral("level %1").arg(j));
        }
    }
};

KALVORA_TEST_MAIN(AreaRatioCurveTest)
#include "AreaRatioCurveTest.moc"
