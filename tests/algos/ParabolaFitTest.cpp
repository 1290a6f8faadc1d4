#include <QtTest>

#include <cmath>
#include <random>

#include "FuzzyCompare.h"
#include "ParabolaFit.h"
#include "PolynomialRegression.h"
#include "TestMain.h"

class ParabolaFitTest : public QObject
{
    Q_OBJECT
private slots:
    // An exact parabola comes back exactly, also at positions where the
    // plain normal equations lose it (nanometres, far from zero).
    void exactParabolas_data()
    {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<double>("c");
        QTest::newRow("millimetres") << 0.0 << 4.0 << 0.3 << -1.2 << 5.0;
        QTest::newRow("nanometres") << 0.0 << 4e6 << 2e-13 << 3e-7 << 12.0;
        QTest::newRow("far from zero") << 1e6 << 1.001e6 << 1e-3 << -2e3 << 1e9;
        QTest::newRow("a straight line") << -5.0 << 5.0 << 0.0 << 2.0 << 1.0;
    }

    void exactParabolas()
    {
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(double, c);
        QVector<double> x, y;
        for (int i = 0; i <= 1000; ++i) {
            const double xi = from + (to - from) * i / 1000;
            x.append(xi);
            y.append(a * xi * xi + b * xi + c);
        }
        QVector<double> values;
        QVERIFY(Algos::parabolaValues(x, y, values));
        QCOMPARE(values.size(), x.size());
        double spread = 0;
        for (double yi : y)
            spread = std::max(spread, std::abs(yi));
        for (int i = 0; i < x.size(); ++i)
            KALVORA_COMPARE_NEAR_AT(values[i], y[i], 1e-9 * spread, QStringLiteral("point %1").arg(i));
    }

    // Where the library's polynomial fit is well conditioned both give the same parabola.
    void sameParabolaAsThePolynomialFit()
    {
        std::mt19937 random(5);
        std::normal_distribution<double> noise(0, 0.2);
        QVector<double> x, y;
        for (int i = 0; i < 2000; ++i) {
            const double xi = 0.002 * i;
            x.append(xi);
            y.append(0.7 * xi * xi - xi + 3 + noise(random));
        }
        QVector<double> values, coefficients;
        QVERIFY(Algos::parabolaValues(x, y, values));
        QVERIFY(PolynomialRegression().fit(x, y, 2, coefficients));
        for (int i = 0; i < x.size(); ++i) {
            const double expected = coefficients[0] + coefficients[1] * x[i] + coefficients[2] * x[i] * x[i];
            KALVORA_COMPARE_NEAR_AT(values[i], expected, 1e-9, QStringLiteral("point %1").arg(i));
        }
    }

    void noUniqueParabola_data()
    {
        QTest::addColumn<QVector<double>>("x");
        QTest::addColumn<QVector<double>>("y");
        QTest::newRow("empty") << QVector<double>{} << QVector<double>{};
        QTest::newRow("two points") << QVector<double>{1, 2} << QVector<double>{1, 4};
        QTest::newRow("two distinct positions") << QVector<double>{1, 2, 1, 2} << QVector<double>{1, 4, 2, 5};
        QTest::newRow("one position") << QVector<double>{3, 3, 3} << QVector<double>{1, 2, 3};
        QTest::newRow("different lengths") << QVector<double>{1, 2, 3} << QVector<double>{1, 2};
        QTest::newRow("a height that is not a number") << QVector<double>{1, 2, 3, 4}
                                                       << QVector<double>{1, std::nan(""), 3, 4};
        QTest::newRow("an infinite position") << QVector<double>{1, 2, 3, INFINITY} << QVector<double>{1, 2, 3, 4};
    }

    void noUniqueParabola()
    {
        QFETCH(QVector<double>, x);
        QFETCH(QVector<double>, y);
        QVector<double> values{42};
        QVERIFY(!Algos::parabolaValues(x, y, values));
        QCOMPARE(values, QVector<double>{42});
    }
};

KALVORA_TEST_MAIN(ParabolaFitTest)
#include "ParabolaFitTest.moc"
