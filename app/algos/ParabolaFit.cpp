#include "ParabolaFit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace Algos {

namespace {

using System = std::array<std::array<double, 4>, 3>;

// Solves the 3 x 3 system (last column the right-hand side) by elimination
// with partial pivoting; false when it has no unique solution.
bool solve(System& a, std::array<double, 3>& solution, double scale)
{
    for (int column = 0; column < 3; ++column) {
        int pivot = column;
        for (int row = column + 1; row < 3; ++row)
            if (std::abs(a[row][column]) > std::abs(a[pivot][column]))
                pivot = row;
        if (!(std::abs(a[pivot][column]) > 1e-12 * scale))
            return false;
        std::swap(a[column], a[pivot]);
        for (int row = column + 1; row < 3; ++row) {
            const double factor = a[row][column] / a[column][column];
            for (int k = column; k < 4; ++k)
                a[row][k] -= factor * a[column][k];
        }
    }
    for (int row = 2; row >= 0; --row) {
        double value = a[row][3];
        for (int k = row + 1; k < 3; ++k)
            value -= a[row][k] * solution[k];
        solution[row] = value / a[row][row];
    }
    return std::isfinite(solution[0]) && std::isfinite(solution[1]) && std::isfinite(solution[2]);
}

} // namespace

bool parabolaValues(const QVector<double>& x, const QVector<double>& y, QVector<double>& values)
{
    const int n = x.size();
    if (n != y.size() || n < 3)
        return false;
    const auto [lowest, highest] = std::minmax_element(x.cbegin(), x.cend());
    const double centre = 0.5 * (*lowest + *highest);
    const double halfSpan = 0.5 * (*highest - *lowest);
    if (!std::isfinite(centre) || !(halfSpan > 0) || !std::isfinite(halfSpan))
        return false;

    // Sums of t^k (k = 0..4) and of t^k y (k = 0..2) for t = (x - centre) / halfSpan.
    double t1 = 0, t2 = 0, t3 = 0, t4 = 0, y0 = 0, y1 = 0, y2 = 0;
    for (int i = 0; i < n; ++i) {
        const double t = (x[i] - centre) / halfSpan;
        const double tt = t * t;
        t1 += t;
        t2 += tt;
        t3 += tt * t;
        t4 += tt * tt;
        y0 += y[i];
        y1 += t * y[i];
        y2 += tt * y[i];
    }
    System system = {{{double(n), t1, t2, y0}, {t1, t2, t3, y1}, {t2, t3, t4, y2}}};
    std::array<double, 3> c{};
    if (!solve(system, c, n))
        return false;

    QVector<double> fitted(n);
    for (int i = 0; i < n; ++i) {
        const double t = (x[i] - centre) / halfSpan;
        fitted[i] = c[0] + t * (c[1] + t * c[2]);
    }
    values = std::move(fitted);
    return true;
}

} // namespace Algos
