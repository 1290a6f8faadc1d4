#pragma once

#include <QVector>

// Least-squares polynomial through (x, y) samples by the normal equations.
class PolynomialRegression
{
public:
    virtual ~PolynomialRegression() = default;

    // On success `coefficients` holds order + 1 values, the constant term
    // first. Every bad input gives false and leaves `coefficients` untouched:
    // x and y of different lengths, empty input, a negative order, a system
    // without a unique solution (fewer distinct x than coefficients,
    // non-finite samples).
    bool fit(const QVector<double>& x, const QVector<double>& y, const int& order,
             QVector<double>& coefficients) const;
};
