#include <QtTest>

#include <complex>
#include <limits>

#include "FuzzyCompare.h"
#include "TestMain.h"

namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

} // namespace

// The comparison the numeric tests share.
class FuzzyCompareTest : public QObject
{
    Q_OBJECT

private slots:
    void equal_data()
    {
        QTest::addColumn<double>("actual");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<bool>("equal");
        QTest::newRow("same") << 1.5 << 1.5 << 0.0 << true;
        QTest::newRow("within") << 1.0 << 1.05 << 0.1 << true;
        QTest::newRow("on the tolerance") << 2.0 << 1.5 << 0.5 << true;
        QTest::newRow("beyond, above") << 1.2 << 1.0 << 0.1 << false;
        QTest::newRow("beyond, below") << 0.8 << 1.0 << 0.1 << false;
        QTest::newRow("not a number computed") << kNan << 1.0 << 1e300 << false;
        QTest::newRow("not a number expected") << 1.0 << kNan << 1e300 << false;
        QTest::newRow("infinite against finite") << kInf << 1.0 << 1e300 << false;
        QTest::newRow("both infinite") << kInf << kInf << 1.0 << false;
    }

    void equal()
    {
        QFETCH(double, actual);
        QFETCH(double, expected);
        QFETCH(double, tolerance);
        QFETCH(bool, equal);
        QCOMPARE(FuzzyCompare::equal(actual, expected, tolerance), equal);
    }

    void complexValuesCompareByTheirDistance()
    {
        QVERIFY(FuzzyCompare::equal(std::complex<double>(3, 4), std::complex<double>(0, 0), 5));
        QVERIFY(!FuzzyCompare::equal(std::complex<double>(3, 4), std::complex<double>(0, 0), 4.99));
    }

    void theMismatchNamesBothValuesAndTheTolerance()
    {
        QCOMPARE(FuzzyCompare::mismatch(100, 100.5, 1e-6),
                 QByteArray("actual 100, expected 100.5, difference 0.5, tolerance 1e-06"));
        QCOMPARE(FuzzyCompare::mismatch(0.1 + 0.2, 0.3, 1e-17, QStringLiteral("row 4")),
                 QByteArray("actual 0.30000000000000004, expected 0.3, difference 5.551115123125783e-17, "
                            "tolerance 1e-17 (at row 4)"));
        QCOMPARE(FuzzyCompare::mismatch(std::complex<double>(1, -2), std::complex<double>(1, 0), 0.5),
                 QByteArray("actual (1, -2), expected (1, 0), difference 2, tolerance 0.5"));
    }
};

KALVORA_TEST_MAIN(FuzzyCompareTest)
#include "FuzzyCompareTest.moc"
