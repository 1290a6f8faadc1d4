#include <QtTest>

#include <climits>
#include <cmath>

#include "AppSettings.h"
#include "CutOff.h"
#include "FuzzyCompare.h"
#include "Geometry.h"
#include "TestMain.h"

class GeometryTest : public QObject
{
    Q_OBJECT

private slots:
    void standardCutOff_data()
    {
        QTest::addColumn<double>("ra");
        QTest::addColumn<int>("standard");
        QTest::addColumn<int>("cutOff");

        QTest::newRow("0.3, standard 0") << 0.3 << 0 << 250;
        QTest::newRow("0.3, standard 1") << 0.3 << 1 << 800;
        QTest::newRow("0 is the finest") << 0.0 << 0 << 80;
        QTest::newRow("just below 0.025") << 0.0249 << 0 << 80;
        QTest::newRow("0.025 belongs above") << 0.025 << 0 << 250;
        QTest::newRow("0.4 belongs above") << 0.4 << 0 << 800;
        QTest::newRow("3.2 belongs above") << 3.2 << 0 << 2500;
        QTest::newRow("12.5 belongs above") << 12.5 << 0 << 8000;
        QTest::newRow("just below 12.5") << 12.49 << 0 << 2500;
        QTest::newRow("standard 1 at 0.02") << 0.02 << 1 << 250;
        QTest::newRow("standard 1 below 0.02") << 0.019 << 1 << 80;
        QTest::newRow("standard 1 at 0.1") << 0.1 << 1 << 800;
        QTest::newRow("standard 1 at 2") << 2.0 << 1 << 2500;
        QTest::newRow("standard 1 at 10") << 10.0 << 1 << 8000;
        QTest::newRow("standard 1 below 10") << 9.99 << 1 << 2500;
        QTest::newRow("not a number") << std::nan("") << 0 << 8000;
        QTest::newRow("standard 2") << 0.3 << 2 << 0;
        QTest::newRow("standard -1") << 0.3 << -1 << 0;
    }

    void standardCutOff()
    {
        QFETCH(double, ra);
        QFETCH(int, standard);
        QFETCH(int, cutOff);
        QCOMPARE(Algos::standardCutOff(ra, standard), cutOff);
    }

    void autoCutOffFollowsTheSetting()
    {
        AppSettings& settings = AppSettings::instance();
        settings.preferenses.standartisation_value = 1;
        QCOMPARE(Algos::autoCutOff(0.3), 800);
        settings.preferenses.standartisation_value = 0;
        QCOMPARE(Algos::autoCutOff(0.3), 250);
    }

    void fittingCutOff_data()
    {
        QTest::addColumn<int>("standard");
        QTest::addColumn<double>("length");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("cutOff");

        QTest::newRow("fits") << 2500 << 5000.0 << 800 << 2500;
        QTest::newRow("too long: the nearest that fits") << 2500 << 4000.0 << 250 << 800;
        QTest::newRow("8000 on 10 mm") << 8000 << 10000.0 << 250 << 2500;
        QTest::newRow("no standard: the shortest that fits") << 0 << 4000.0 << 800 << 80;
        QTest::newRow("nothing fits") << 800 << 100.0 << 250 << 250;
        QTest::newRow("tie: the first in list order") << 525 << 20000.0 << 80 << 800;
        QTest::newRow("length not a number") << 800 << std::nan("") << 250 << 250;
    }

    void fittingCutOff()
    {
        QFETCH(int, standard);
        QFETCH(double, length);
        QFETCH(int, current);
        QFETCH(int, cutOff);
        QCOMPARE(Algos::fittingCutOff(standard, length, current), cutOff);
    }

    void powerOfTwo_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("power");
        QTest::newRow("0") << 0 << false;
        QTest::newRow("1") << 1 << true;
        QTest::newRow("2") << 2 << true;
        QTest::newRow("3") << 3 << false;
        QTest::newRow("1024") << 1024 << true;
        QTest::newRow("1025") << 1025 << false;
        QTest::newRow("2^30") << (1 << 30) << true;
        QTest::newRow("-8") << -8 << false;
        QTest::newRow("INT_MIN") << INT_MIN << false;
    }

    void powerOfTwo()
    {
        QFETCH(int, n);
        QFETCH(bool, power);
        QCOMPARE(Algos::isPowerOfTwo(n), power);
    }

    void rotations()
    {
        QCOMPARE(Algos::squaredDistance(1, 2, 4, 6), 25.0);

        const QVector<double> v = Algos::rotateVector(1, 0, 90);
        QCOMPARE(v.size(), 2);
        KALVORA_COMPARE_NEAR(v[0], 0, 1e-15);
        KALVORA_COMPARE_NEAR(v[1], 1, 1e-15);
        const QVector<double> back = Algos::rotateVector(0, 2, -90);
        QVERIFY(std::abs(back[0] - 2) < 1e-15 && std::abs(back[1]) < 1e-15);

        const QPointF point(0.1 + 0.2, 1e-300);
        const QPointF same = Algos::rotatePoint(5.5f, -3.25f, 0.0f, point);
        QCOMPARE(same.x(), point.x());
        QCOMPARE(same.y(), point.y());

        const QPointF turned = Algos::rotatePoint(1, 1, float(M_PI / 2), QPointF(2, 1));
        KALVORA_COMPARE_NEAR(turned.x(), 1, 1e-6);
        KALVORA_COMPARE_NEAR(turned.y(), 2, 1e-6);
    }

    void nearestDistanceSum()
    {
        const ProfileData reference{{0, 10}, {0, 0}};
        const ProfileData points{{1, 9, 5}, {0, 0, 3}};
        KALVORA_COMPARE_NEAR(Algos::nearestDistanceSum(reference, points), 2 + std::sqrt(34.0),
                             1e-12 * std::abs(2 + std::sqrt(34.0)));

        QCOMPARE(Algos::nearestDistanceSum(reference, ProfileData{{}, {}}), 0.0);
        QCOMPARE(Algos::nearestDistanceSum(reference, ProfileData{}), 0.0);
        QCOMPARE(Algos::nearestDistanceSum(ProfileData{{}, {}}, points), 3 * 1.3407807929942596e154);
    }

    void resampleAt_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::addColumn<QVector<double>>("xs");
        QTest::addColumn<QVector<double>>("heights");

        QTest::newRow("inside, before and past the ends")
            << ProfileData{{0, 10}, {0, 10}} << QVector<double>{-5, 5, 20} << QVector<double>{-5, 5, 10};
        QTest::newRow("several segments") << ProfileData{{0, 1, 3, 4}, {0, 2, 0, 4}} << QVector<double>{0, 0.5, 1, 2, 3.5, 4}
                                          << QVector<double>{0, 1, 2, 1, 2, 4};
        QTest::newRow("one point") << ProfileData{{3}, {7}} << QVector<double>{-1, 3, 9} << QVector<double>{7, 7, 7};
        QTest::newRow("repeated first x") << ProfileData{{0, 0, 2}, {1, 3, 5}} << QVector<double>{0, 1}
                                          << QVector<double>{3, 4};
        QTest::newRow("no targets") << ProfileData{{0, 1}, {0, 1}} << QVector<double>{} << QVector<double>{};
    }

    void resampleAt()
    {
        QFETCH(ProfileData, profile);
        QFETCH(QVector<double>, xs);
        QFETCH(QVector<double>, heights);

        const ProfileData result = Algos::resampleAt(profile, xs);
        QCOMPARE(result.size(), 2);
        QCOMPARE(result[0], xs);
        QCOMPARE(result[1], heights);
    }

    void resampleAtRefusesOtherShapes_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::newRow("no columns") << ProfileData{};
        QTest::newRow("one column") << ProfileData{{0, 1}};
        QTest::newRow("three columns") << ProfileData{{0, 1}, {0, 1}, {0, 1}};
        QTest::newRow("columns of different lengths") << ProfileData{{0, 1, 2}, {0, 1}};
        QTest::newRow("no points") << ProfileData{{}, {}};
    }

    void resampleAtRefusesOtherShapes()
    {
        QFETCH(ProfileData, profile);
        QVERIFY(Algos::resampleAt(profile, {0, 1}).isEmpty());
    }

    void addConstant()
    {
        QVector<double> empty;
        Algos::addConstant(empty, 5);
        QVERIFY(empty.isEmpty());

        QVector<double> values{1, -2};
        Algos::addConstant(values, 0.5);
        QCOMPARE(values, (QVector<double>{1.5, -1.5}));
    }
};

KALVORA_TEST_MAIN(GeometryTest)
#include "GeometryTest.moc"
