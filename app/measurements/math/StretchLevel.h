#pragma once

#include "RMS.h"

#include <QPointF>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <limits>

namespace MeasurementMath {

// The height of a straight stretch: its least-squares line taken halfway
// between the stretch's first point and the point that closes it.
struct StretchLevel
{
    double middle = 0;
    double height = 0;

    bool isValid() const { return !std::isnan(height); }
};

// The level of the points [begin, end) of a curve whose `size` points start
// at `data`. The stretch is closed by the point at `end`, the first one after
// it, or by the curve's last point when the stretch reaches the end of the
// data. Indices are limited to the data; an empty stretch, or one whose keys
// are all equal, has no line and gives a level that is not valid.
template <typename Iterator>
StretchLevel stretchLevel(Iterator data, qint64 size, qint64 begin, qint64 end)
{
    const qint64 first = std::clamp<qint64>(begin, 0, size);
    const qint64 last = std::clamp<qint64>(end, first, size);
    if (first == last)
        return {0, std::numeric_limits<double>::quiet_NaN()};
    const Algos::RMS line(data + first, data + last);
    const QPointF p(Algos::pointX(*(data + first)), Algos::pointY(*(data + first)));
    const qint64 closing = std::min(last, size - 1);
    const double closingKey = Algos::pointX(*(data + closing));
    const double middle = p.x() + (closingKey - p.x()) / 2;
    return {middle, line.evaluate(middle)};
}

// The distance of two levels, in single precision.
double meanHeight(const StretchLevel& first, const StretchLevel& second);

} // namespace MeasurementMath
