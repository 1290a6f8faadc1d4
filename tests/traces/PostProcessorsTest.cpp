#include <QtTest>

#include "ShortWaveCutOff.h"
#include "TestMain.h"
#include "ThreadAngleCompensationProcessor.h"
#include "XZeronator.h"
#include "YZeronator.h"

class PostProcessorsTest : public QObject
{
    Q_OBJECT

private slots:
    void names()
    {
        QCOMPARE(ThreadAngleCompensationProcessor(30.5).name, QStringLiteral("Angle 30.5"));
        QCOMPARE(ThreadAngleCompensationProcessor(1.0 / 3).name, QStringLiteral("Angle 0.333333"));
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
