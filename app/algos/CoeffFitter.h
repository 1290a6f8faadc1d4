#pragma once

#include <QVector>

namespace Algos {

// A fitted function given by its coefficients; coefficient i multiplies x to
// the power i. Fitters are held by value, never deleted through this base.
class CoeffFitter
{
public:
    virtual double evaluate(double x) const = 0;

    bool isValid() const { return !m_coefficients.isEmpty(); }

    // Not a number for an index the fitter does not hold.
    double coefficient(int i) const;
    // An index the fitter does not hold is ignored.
    void setCoefficient(int i, double value);

protected:
    CoeffFitter() = default;
    explicit CoeffFitter(const QVector<double>& coefficients);
    CoeffFitter(const CoeffFitter&) = default;
    CoeffFitter& operator=(const CoeffFitter&) = default;
    ~CoeffFitter() = default;

    QVector<double> m_coefficients;
};

} // namespace Algos
