#pragma once

#include <QByteArray>
#include <QString>
#include <QtTest>

#include <complex>

// Comparison of computed numbers within a tolerance, for the numeric tests:
// equal when |actual - expected| <= tolerance. A not-a-number on either side
// is never equal. A failure names both values, their difference and the
// tolerance, each with as many digits as it takes to read it back exactly.
namespace FuzzyCompare {

bool equal(double actual, double expected, double tolerance);
bool equal(std::complex<double> actual, std::complex<double> expected, double tolerance);

QByteArray mismatch(double actual, double expected, double tolerance, const QString& where = QString());
QByteArray mismatch(std::complex<double> actual, std::complex<double> expected, double tolerance,
                    const QString& where = QString());

} // namespace FuzzyCompare

// Like QVERIFY: fails the test function and returns from it unless the two
// values lie within the tolerance.
#define KALVORA_COMPARE_NEAR(actual, expected, tolerance)                                                             \
    KALVORA_COMPARE_NEAR_AT(actual, expected, tolerance, QString())

// The same, naming where in a series the values were compared (a row, an index).
#define KALVORA_COMPARE_NEAR_AT(actual, expected, tolerance, where)                                                    \
    do {                                                                                                               \
        const auto kalvoraActual = (actual);                                                                           \
        const auto kalvoraExpected = (expected);                                                                       \
        const double kalvoraTolerance = (tolerance);                                                                   \
        const bool kalvoraEqual = FuzzyCompare::equal(kalvoraActual, kalvoraExpected, kalvoraTolerance);               \
        if (!QTest::qVerify(kalvoraEqual, #actual " ~ " #expected,                                                     \
                            kalvoraEqual ? ""                                                                          \
                                         : FuzzyCompare::mismatch(kalvoraActual, kalvoraExpected, kalvoraTolerance,    \
                                                                  (where))                                             \
                                               .constData(),                                                           \
                            __FILE__, __LINE__))                                                                       \
            return;                                                                                                    \
    } while (false)
