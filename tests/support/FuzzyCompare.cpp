#include "FuzzyCompare.h"

#include <QLocale>

#include <cmath>

namespace {

// The shortest text that reads back as the same double.
QString number(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString number(std::complex<double> value)
{
    return QStringLiteral("(%1, %2)").arg(number(value.real()), number(value.imag()));
}

template <typename Value>
QByteArray describe(Value actual, Value expected, double tolerance, const QString& where)
{
    QString text = QStringLiteral("actual %1, expected %2, difference %3, tolerance %4")
                       .arg(number(actual), number(expected), number(std::abs(actual - expected)), number(tolerance));
    if (!where.isEmpty())
        text += QStringLiteral(" (at %1)").arg(where);
    return text.toUtf8();
}

} // namespace

namespace FuzzyCompare {

// Written so that a not-a-number difference compares false.
bool equal(double actual, double expected, double tolerance)
{
    return std::abs(actual - expected) <= tolerance;
}

bool equal(std::complex<double> actual, std::complex<double> expected, double tolerance)
{
    return std::abs(actual - expected) <= tolerance;
}

QByteArray mismatch(double actual, double expected, double tolerance, const QString& where)
{
    return describe(actual, expected, tolerance, where);
}

QByteArray mismatch(std::complex<double> actual, std::complex<double> expected, double tolerance,
                    const QString& where)
{
    return describe(actual, expected, tolerance, where);
}

} // namespace FuzzyCompare
