#include <QtTest>

#include "DataMedianFilterProcessor.h"
#include "FilterRoughnessProfileProcessor.h"
#include "FilterWaveProfileProcessor.h"
#include "GaussFilter.h"
#include "MedianFilter.h"
#include "ShortWaveCutOff.h"
#include "TestMain.h"
#include "ThreadAngleCompensationProcessor.h"
#include "XZeronator.h"
#include "YZeronator.h"

namespace {

ProfileData sineProfile(double length, double step)
{
    ProfileData data(2);
    for (double x = 0; x <= length + 1e-9; x += step) {
        data[0].append(x);
        data[1].append(std::sin(x / 9) + 0.5 * std::sin(x / 400));
    }
    return data;
}

} // namespace

class PostProcessorsTest : public QObject
{
    Q_OBJECT

private slots:
    void names()
    {
        QCOMPARE(ThreadAngleCompensationProcessor(30.5).name, QStringLiteral("Angle 30.5"));
        QCOMPARE(ThreadAngleCompensationProcessor(1.0 / 3).name, QStringLiteral("Angle 0.333333"));
        QCOMPARE(DataMedianFilterProcessor(3).name, QStringLiteral("Median3"));
        QCOMPARE(DataMedianFilterProcessor(5).name, QStringLiteral("Median5"));
        QCOMPARE(FilterRoughnessProfileProcessor(2500).name, QStringLiteral("Filter 2500"));
        QCOMPARE(FilterWaveProfileProcessor(800).name, QStringLiteral("Filter 800"));
        QCOMPARE(YZeronator().name, QStringLiteral("YZeronator"));
        QCOMPARE(XZeronator().name, QStringLiteral("XZeronator"));
    }

    void shortWaveCutOff_data()
    {
        QTest::addColumn<double>("cutOff");
        QTest::addColumn<double>("shortWave");
        QTest::newRow("80") << 80.0 << 2.6666666666666665;
        QTest::newRow("250") << 250.0 << 2.5;
        QTest::newRow("800") << 800.0 << 2.6666666666666665;
        QTest::newRow("2500") << 2500.0 << 8.333333333333334;
        QTest::newRow("8000") << 8000.0 << 26.666666666666668;
        QTest::newRow("other") << 300.0 << 1.0;
    }

    void shortWaveCutOff()
    {
        QFETCH(double, cutOff);
        QFETCH(double, shortWave);
        QCOMPARE(::shortWaveCutOff(cutOff), shortWave);
    }

    void wavinessBandIsTwiceTheCutOff()
    {
        for (double cutOff : {80.0, 250.0, 800.0, 2500.0, 8000.0})
            QCOMPARE(wavinessSecondCutOff(cutOff), 2 * cutOff);
    }

    void roughnessFilterTrims_data()
    {
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("last");
        QTest::newRow("longer than the cut-off") << 5000.0 << 400.0 << 4600.0;
        QTest::newRow("shorter than the cut-off") << 700.0 << 0.0 << 700.0;
    }

    void roughnessFilterTrims()
    {
        QFETCH(double, length);
        QFETCH(double, first);
        QFETCH(double, last);
        ProfileData data = sineProfile(length, 0.5);
        const ProfileData expected = Algos::gaussFilter(data, 800, 800.0 / 300);
        FilterRoughnessProfileProcessor(800).process(data);
        QCOMPARE(data, expected);
        QCOMPARE(data[0].first(), first);
        QCOMPARE(data[0].last(), last);
    }

    void filtersKeepTheirBands()
    {
        const ProfileData input = sineProfile(3000, 0.5);
        ProfileData waviness = input;
        FilterWaveProfileProcessor(250).process(waviness);
        QCOMPARE(waviness, Algos::gaussFilter(input, 250, 500));

        ProfileData roughness = input;
        FilterRoughnessProfileProcessor(80).process(roughness);
        QCOMPARE(roughness, Algos::gaussFilter(input, 80, 8.0 / 3));

        ProfileData median = input;
        median[1][100] = 50;
        ProfileData expectedMedian = median;
        Algos::medianFilter(3, expectedMedian);
        DataMedianFilterProcessor(3).process(median);
        QCOMPARE(median, expectedMedian);
        QVERIFY(median[1][100] < 2);
    }

    void filtersTakeTwoColumnsOnly()
    {
        ProfileData contour{{0, 1, 2}, {0, 1, 0}, {5, 5, 5}};
        FilterRoughnessProfileProcessor(800).process(contour);
        QVERIFY(contour.isEmpty());
    }

    void yZeronator_data()
    {
        QTest::addColumn<QVector<double>>("heights");
        QTest::addColumn<QVector<double>>("zeroed");
        QTest::newRow("lowest at 0") << QVector<double>{3, -2, 5} << QVector<double>{5, 0, 7};
        QTest::newRow("no points") << QVector<double>{} << QVector<double>{};
        QTest::newRow("NaN is not the lowest") << QVector<double>{qQNaN(), 4, 6} << QVector<double>{qQNaN(), 0, 2};
    }

    void yZeronator()
    {
        QFETCH(QVector<double>, heights);
        QFETCH(QVector<double>, zeroed);
        ProfileData data{QVector<double>(heights.size(), 1.0), heights};
        YZeronator().process(data);
        QCOMPARE(data[0], QVector<double>(heights.size(), 1.0));
        QCOMPARE(data[1].size(), zeroed.size());
        for (int j = 0; j < zeroed.size(); ++j)
            QVERIFY(data[1][j] == zeroed[j] || (std::isnan(data[1][j]) && std::isnan(zeroed[j])));
    }

    void xZeronator()
    {
        ProfileData data{{4, 5, 7.5}, {1, 2, 3}};
        XZeronator().process(data);
        QCOMPARE(data, (ProfileData{{0, 1, 3.5}, {1, 2, 3}}));
        ProfileData empty;
        XZeronator().process(empty);
        QVERIFY(empty.isEmpty());
    }

    void threadAngle_data()
    {
        QTest::addColumn<double>("angle");
        QTest::addColumn<double>("factor");
        QTest::newRow("0") << 0.0 << 1.0;
        QTest::newRow("60") << 60.0 << 0.5000000000000001;
    }

    void threadAngle()
    {
        QFETCH(double, angle);
        QFETCH(double, factor);
        ProfileData data{{2, 4}, {1, 1}};
        ThreadAngleCompensationProcessor(angle).process(data);
        QCOMPARE(data, (ProfileData{{2 * factor, 4 * factor}, {1, 1}}));
    }
};

KALVORA_TEST_MAIN(PostProcessorsTest)
#include "PostProcessorsTest.moc"
