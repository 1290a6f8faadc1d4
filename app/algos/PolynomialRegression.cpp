#include "PolynomialRegression.h"

#include <cmath>
#include <vector>

#include "ProfileChecks.h"

namespace {

using Matrix = std::vector<std::vector<double>>;

// Rows 0..n of the normal equations, augmented by the right-hand side.
Matrix normalEquations(const QVector<double>& x, const QVector<double>& y, int order)
{
    std::vector<double> powerSums(2 * order + 1, 0.0);
    for (double xk : x)
        for (int j = 0; j <= 2 * order; ++j)
            powerSums[j] += std::pow(xk, j);

    Matrix b(order + 1, std::vector<double>(order + 2, 0.0));
    for (int i = 0; i <= order; ++i) {
        for (int j = 0; j <= order; ++j)
            b[i][j] = powerSums[i + j];
        for (int k = 0; k < x.size(); ++k)
            b[i][order + 1] += std::pow(x[k], i) * y[k];
    }
    return b;
}

// Moves the row holding the largest signed value of each column to the
// diagonal, before any elimination.
void pivotRows(Matrix& b)
{
    const int rows = int(b.size());
    for (int i = 0; i < rows - 1; ++i)
        for (int k = i + 1; k < rows; ++k)
            if (b[k][i] > b[i][i])
                std::swap(b[i], b[k]);
}

void eliminate(Matrix& b)
{
    const int rows = int(b.size());
    for (int i = 0; i < rows - 1; ++i) {
        for (int k = i + 1; k < rows; ++k) {
            const double factor = b[k][i] / b[i][i];
            for (std::size_t j = 0; j < b[k].size(); ++j)
                b[k][j] -= factor * b[i][j];
        }
    }
}

QVector<double> backSubstitute(const Matrix& b)
{
    const int rows = int(b.size());
    QVector<double> a(rows, 0.0);
    for (int i = rows - 1; i >= 0; --i) {
        a[i] = b[i][rows];
        for (int j = 0; j < rows; ++j)
            if (j != i)
                a[i] -= b[i][j] * a[j];
        a[i] /= b[i][i];
    }
    return a;
}

// The normal equations have a unique solution only when the samples hold at
// least as many distinct x values as there are coefficients.
bool hasDistinctX(const QVector<double>& x, int needed)
{
    QVector<double> distinct;
    for (double xk : x) {
        if (!distinct.contains(xk))
            distinct.append(xk);
        if (distinct.size() >= needed)
            return true;
    }
    return false;
}

bool hasZeroPivot(const Matrix& b)
{
    for (std::size_t i = 0; i < b.size(); ++i)
        if (b[i][i] == 0.0)
            return true;
    return false;
}

} // namespace

bool PolynomialRegression::fit(const QVector<double>& x, const QVector<double>& y, const int& order,
                               QVector<double>& coefficients) const
{
    if (x.size() != y.size() || x.isEmpty() || order < 0 || !hasDistinctX(x, order + 1))
        return false;

    Matrix b = normalEquations(x, y, order);
    pivotRows(b);
    eliminate(b);
    if (hasZeroPivot(b))
        return false;
    const QVector<double> a = backSubstitute(b);
    if (!Algos::allFinite(a))
        return false;
    coefficients = a;
    return true;
}
