#include <QtTest>

#include <cmath>
#include <random>

#include "FuzzyCompare.h"
#include "MedianFilter.h"
#include "MovingAverage.h"
#include "TestMain.h"

namespace {

ProfileData profileOf(const QVector<double>& heights)
{
    ProfileData profile(2);
    for (int i = 0; i < heights.size(); ++i)
        profile[0].append(i * 0.5);
    profile[1] = heights;
    return profile;
}

// The moving average as it is defined: the mean height of the points with
// x - halfWidth <= x' < x + halfWidth.
QVector<double> bruteForceResidual(const ProfileData& profile, double halfWidth)
{
    const QVector<double>& x = profile[0];
    const QVector<double>& y = profile[1];
    QVector<double> residual;
    for (int k = 0; k < x.size(); ++k) {
        double sum = 0;
        int count = 0;
        for (int i = 0; i < x.size(); ++i) {
            if (x[i] >= x[k] - halfWidth && x[i] < x[k] + halfWidth) {
                sum += y[i];
                ++count;
            }
        }
        residual.append(y[k] - sum / count);
    }
    return residual;
}

} // namespace

class SmoothingFiltersTest : public QObject
{
    Q_OBJECT

private slots:
    void median_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QVector<double>>("heights");
        QTest::addColumn<QVector<double>>("expected");

        const QVector<double> five{5, 1, 9, 2, 7};
        QTest::newRow("window 3") << 3 << five << QVector<double>{1, 5, 2, 7, 7};
        QTest::newRow("window as long as the profile") << 5 << five << QVector<double>{5, 5, 5, 7, 7};
        QTest::newRow("even window takes the upper middle") << 4 << five << QVector<double>{5, 9, 5, 7, 7};
        QTest::newRow("window 1") << 1 << five << five;
        QTest::newRow("window longer than the profile") << 6 << five << five;
        QTest::newRow("window 0") << 0 << five << five;
        QTest::newRow("negative window") << -3 << five << five;
        QTest::newRow("no points") << 3 << QVector<double>{} << QVector<double>{};
        QTest::newRow("single spikes go") << 3 << QVector<double>{1, 1, 1, 40, 1, 1, -30, 1, 1}
                                          << QVector<double>{1, 1, 1, 1, 1, 1, 1, 1, 1};
    }

    void median()
    {
        QFETCH(int, window);
        QFETCH(QVector<double>, heights);
        QFETCH(QVector<double>, expected);

        ProfileData profile = profileOf(heights);
        const QVector<double> x = profile[0];
        Algos::medianFilter(window, profile);
        QCOMPARE(profile[1], expected);
        QCOMPARE(profile[0], x);
    }

    void medianLeavesOtherShapesAlone()
    {
        ProfileData oneColumn{{1, 2, 3}};
        Algos::medianFilter(3, oneColumn);
        QCOMPARE(oneColumn, (ProfileData{{1, 2, 3}}));
    }

    void movingAverageOfALine()
    {
        const ProfileData line{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}};
        const ProfileData result = Algos::subtractMovingAverage(line, 1.5);
        QCOMPARE(result[0], line[0]);
        QCOMPARE(result[1], (QVector<double>{-0.5, 0, 0, 0, 0, 0, 0, 0, 0, 0.5}));
    }

    void movingAverageMatchesItsDefinition_data()
    {
        QTest::addColumn<double>("halfWidth");
        QTest::newRow("narrow") << 0.004;
        QTest::newRow("a few points") << 0.05;
        QTest::newRow("wider than the profile") << 100.0;
    }

    void movingAverageMatchesItsDefinition()
    {
        QFETCH(double, halfWidth);
        std::mt19937 random(7);
        std::uniform_real_distribution<double> gap(0.001, 0.02);
        std::normal_distribution<double> height(0, 3);
        ProfileData profile(2);
        double x = -1;
        for (int i = 0; i < 500; ++i) {
            x += gap(random);
            profile[0].append(x);
            profile[1].append(height(random));
        }
        const ProfileData result = Algos::subtractMovingAverage(profile, halfWidth);
        const QVector<double> expected = bruteForceResidual(profile, halfWidth);
        for (int k = 0; k < expected.size(); ++k)
            KALVORA_COMPARE_NEAR_AT(result[1][k], expected[k], 1e-9, QString::number(k));
    }

    void movingAverageRefuses_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::addColumn<double>("halfWidth");

        const ProfileData good{{0, 1, 2}, {3, 4, 5}};
        QTest::newRow("half-width 0") << good << 0.0;
        QTest::newRow("negative half-width") << good << -1.0;
        QTest::newRow("not-a-number half-width") << good << std::nan("");
        QTest::newRow("infinite half-width") << good << qInf();
        QTest::newRow("one column") << ProfileData{{0, 1, 2}} << 1.0;
        QTest::newRow("columns of different lengths") << ProfileData{{0, 1, 2}, {3, 4}} << 1.0;
        QTest::newRow("not-a-number height") << ProfileData{{0, 1, 2}, {3, std::nan(""), 5}} << 1.0;
    }

    void movingAverageRefuses()
    {
        QFETCH(ProfileData, profile);
        QFETCH(double, halfWidth);
        QVERIFY(Algos::subtractMovingAverage(profile, halfWidth).isEmpty());
    }
};

KALVORA_TEST_MAIN(SmoothingFiltersTest)
#include "SmoothingFiltersTest.moc"
