#include <QtTest>

#include <cmath>

#include "FuzzyCompare.h"
#include "PolynomialRegression.h"
#include "RMS.h"
#include "TestMain.h"

namespace {

// Shaped like the plot's curve data: a parameter followed by key and value.
struct CurvePoint
{
    double t;
    double key;
    double value;
};

const double kNan = std::numeric_limits<double>::quiet_NaN();

} // namespace

Q_DECLARE_METATYPE(QVector<CurvePoint>)

class FitsTest : public QObject
{
    Q_OBJECT

private slots:
    void polynomialFit_data()
    {
        QTest::addColumn<QVector<double>>("x");
        QTest::addColumn<QVector<double>>("y");
        QTest::addColumn<int>("order");
        QTest::addColumn<QVector<double>>("expected");

        QTest::newRow("parabola through three points") << QVector<double>{0, 1, 2} << QVector<double>{1, 2, 5} << 2
                                                       << QVector<double>{1, 0, 1};
        QTest::newRow("line through three points") << QVector<double>{0, 1, 2} << QVector<double>{1, 3, 5} << 1
                                                   << QVector<double>{1, 2};
        QTest::newRow("constant is the mean") << QVector<double>{0, 1, 2, 3} << QVector<double>{1, 2, 4, 5} << 0
                                              << QVector<double>{3};
        QTest::newRow("negative x") << QVector<double>{-3, -2, -1, 0, 1} << QVector<double>{-7, -5, -3, -1, 1} << 1
                                    << QVector<double>{-1, 2};
        QTest::newRow("least squares, not interpolation")
            << QVector<double>{0, 1, 2, 3} << QVector<double>{0, 1, 1, 2} << 1 << QVector<double>{0.1, 0.6};

        // A trace's form in micrometres: x up to 5000 makes the power sums span 18 decades.
        QVector<double> x;
        QVector<double> y;
        for (double xi = 0; xi <= 5000; xi += 10) {
            x << xi;
            y << 3 - 0.002 * xi + 4e-7 * xi * xi;
        }
        QTest::newRow("parabola over a 5 mm trace") << x << y << 2 << QVector<double>{3, -0.002, 4e-7};
    }

    void polynomialFit()
    {
        QFETCH(QVector<double>, x);
        QFETCH(QVector<double>, y);
        QFETCH(int, order);
        QFETCH(QVector<double>, expected);

        QVector<double> coefficients{42};
        QVERIFY(PolynomialRegression().fit(x, y, order, coefficients));
        QCOMPARE(coefficients.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            const double tolerance = 1e-7 * std::max(std::abs(expected[i]), 1e-3);
            KALVORA_COMPARE_NEAR_AT(coefficients[i], expected[i], tolerance, QStringLiteral("c%1").arg(i));
        }
    }

    void polynomialFitRefuses_data()
    {
        QTest::addColumn<QVector<double>>("x");
        QTest::addColumn<QVector<double>>("y");
        QTest::addColumn<int>("order");

        QTest::newRow("no samples") << QVector<double>{} << QVector<double>{} << 1;
        QTest::newRow("fewer heights than positions") << QVector<double>{0, 1, 2} << QVector<double>{1, 2} << 1;
        QTest::newRow("more heights than positions") << QVector<double>{0, 1} << QVector<double>{1, 2, 3} << 1;
        QTest::newRow("heights without positions") << QVector<double>{} << QVector<double>{1} << 0;
        QTest::newRow("negative order") << QVector<double>{0, 1} << QVector<double>{0, 1} << -1;
        QTest::newRow("one x for a line") << QVector<double>{2, 2, 2} << QVector<double>{1, 2, 3} << 1;
        QTest::newRow("one inexact x for a parabola")
            << QVector<double>{0.3, 0.3, 0.3, 0.3} << QVector<double>{1, 2, 3, 4} << 2;
        QTest::newRow("two x for a parabola") << QVector<double>{0, 1, 0, 1} << QVector<double>{1, 2, 3, 4} << 2;
        QTest::newRow("not-a-number height") << QVector<double>{0, 1, 2} << QVector<double>{1, kNan, 3} << 1;
        QTest::newRow("infinite x") << QVector<double>{0, 1, qInf()} << QVector<double>{1, 2, 3} << 1;
    }

    void polynomialFitRefuses()
    {
        QFETCH(QVector<double>, x);
        QFETCH(QVector<double>, y);
        QFETCH(int, order);

        QVector<double> coefficients{7, 8};
        QVERIFY(!PolynomialRegression().fit(x, y, order, coefficients));
        QCOMPARE(coefficients, (QVector<double>{7, 8}));
    }

    void lineFromVectors()
    {
        const Algos::RMS line(QVector<double>{0, 1, 2}, QVector<double>{1, 3, 5});
        QVERIFY(line.isValid());
        QCOMPARE(line.coefficient(0), 1.0);
        QCOMPARE(line.coefficient(1), 2.0);
        QCOMPARE(line.evaluate(3), 7.0);
    }

    void lineFromShorterHeightsUsesCommonPoints()
    {
        const Algos::RMS line(QVector<double>{0, 1, 2, 3}, QVector<double>{1, 3, 5});
        QCOMPARE(line.coefficient(0), 1.0);
        QCOMPARE(line.coefficient(1), 2.0);
    }

    void lineFromCurveRanges()
    {
        const QVector<CurvePoint> points{{9, 0, 1}, {9, 1, 2.5}, {9, 2, 5}, {9, 3, 6.5}, {9, 4, 9}};
        const Algos::RMS whole(points.cbegin(), points.cend());
        const Algos::RMS split(points.cbegin(), points.cbegin() + 2, points.cbegin() + 2, points.cend());
        QCOMPARE(split.coefficient(0), whole.coefficient(0));
        QCOMPARE(split.coefficient(1), whole.coefficient(1));

        const Algos::RMS firstOnly(points.cbegin(), points.cbegin() + 3, nullptr, nullptr);
        const Algos::RMS expected(QVector<double>{0, 1, 2}, QVector<double>{1, 2.5, 5});
        QCOMPARE(firstOnly.coefficient(0), expected.coefficient(0));
        QCOMPARE(firstOnly.coefficient(1), expected.coefficient(1));
    }

    void lineFromPlanePoints()
    {
        const QVector<QPointF> points{{0, 1}, {1, 3}, {2, 5}};
        const Algos::RMS line(points.cbegin(), points.cend());
        QCOMPARE(line.coefficient(0), 1.0);
        QCOMPARE(line.coefficient(1), 2.0);
    }

    void lineWithoutTwoDistinctKeysIsNotANumber_data()
    {
        QTest::addColumn<QVector<CurvePoint>>("points");
        QTest::newRow("no points") << QVector<CurvePoint>{};
        QTest::newRow("one point") << QVector<CurvePoint>{{0, 2, 3}};
        // 0.1 * 3 and 0.1 + 0.1 + 0.1 differ, so the closed form alone gives a huge finite slope.
        QTest::newRow("vertical stretch") << QVector<CurvePoint>{{0, 0.1, 1}, {0, 0.1, 2}, {0, 0.1, 4}};
    }

    void lineWithoutTwoDistinctKeysIsNotANumber()
    {
        QFETCH(QVector<CurvePoint>, points);
        const Algos::RMS line(points.cbegin(), points.cend());
        QVERIFY(line.isValid());
        QVERIFY(std::isnan(line.coefficient(0)));
        QVERIFY(std::isnan(line.coefficient(1)));
    }

    void fitterCoefficients()
    {
        QVERIFY(!Algos::RMS().isValid());
        QVERIFY(std::isnan(Algos::RMS().evaluate(1)));

        Algos::RMS line(QVector<double>{1, 2});
        line.setCoefficient(1, -0.5);
        QCOMPARE(line.evaluate(4), -1.0);
        line.setCoefficient(2, 100);
        QVERIFY(std::isnan(line.coefficient(2)));
        QVERIFY(std::isnan(line.coefficient(-1)));
        QCOMPARE(line.evaluate(4), -1.0);
    }
};

KALVORA_TEST_MAIN(FitsTest)
#include "FitsTest.moc"
