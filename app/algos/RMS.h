#pragma once

#include <QVector>

#include <algorithm>
#include <cstddef>
#include <limits>
#include <utility>

#include "CoeffFitter.h"
#include "PointAccess.h"

namespace Algos {

// Least-squares straight line: coefficient 0 the intercept, coefficient 1 the
// slope. Fewer than two distinct x give not-a-number coefficients.
class RMS : public CoeffFitter
{
public:
    RMS() = default;
    explicit RMS(const QVector<double>& coefficients);

    // Line through the points of [first1, last1) and [first2, last2) together;
    // the second range may be left out (null). Points are curve points (key,
    // value) or 2-D points (x, y).
    template <typename Iterator, typename = decltype(*std::declval<Iterator&>())>
    RMS(Iterator first1, Iterator last1, Iterator first2 = Iterator(), Iterator last2 = Iterator())
    {
        Sums sums;
        addPoints(sums, first1, last1);
        addPoints(sums, first2, last2);
        setLine(sums);
    }

    template <typename Iterator, typename = decltype(*std::declval<Iterator&>())>
    RMS(Iterator first, Iterator last, std::nullptr_t, std::nullptr_t)
        : RMS(first, last)
    {
    }

    // Line through (x[i], y[i]) for every index both vectors hold.
    RMS(const QVector<double>& x, const QVector<double>& y);

    double evaluate(double x) const override;

private:
    struct Sums
    {
        double n = 0;
        double x = 0;
        double y = 0;
        double xx = 0;
        double xy = 0;
        double minX = std::numeric_limits<double>::infinity();
        double maxX = -std::numeric_limits<double>::infinity();

        void add(double px, double py)
        {
            n += 1;
            minX = std::min(minX, px);
            maxX = std::max(maxX, px);
            x += px;
            y += py;
            xx += px * px;
            xy += px * py;
        }
    };

    template <typename Iterator>
    static void addPoints(Sums& sums, Iterator first, Iterator last)
    {
        for (; first != last; ++first)
            sums.add(pointX(*first), pointY(*first));
    }

    void setLine(const Sums& sums);
};

} // namespace Algos
