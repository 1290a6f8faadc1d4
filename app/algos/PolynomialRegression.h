#pragma once

#include <QVector>

// Least-squares polynomial through (x, y) samples by the normal equations.
class PolynomialRegression
{
public:
    virtual ~PolynomialRegression() = default;

    // On success `coefficients` holds order + 1 values, the constant term
    // first. Throws std::runtime_error when x and y differ in length. Returns
    // false, leaving `coefficients` untouched, for empty input, a negative
    // order or a system without a unique solution (fewer distinct x than
    // coefficients, non-finite samples).
    bool fit(const QVector<double>& x, const QVector<double>& y, const int& order,
             QVector<double>& coefficients) const;
};
