#pragma once

#include "PointAccess.h"

#include <algorithm>

namespace MeasurementMath {

enum class Extreme { Highest, Lowest };

// The first point of [first, last) with the highest (lowest) value: a later
// point takes its place only when strictly higher (lower). `last` for an
// empty range.
template <typename Iterator>
Iterator extremePoint(Iterator first, Iterator last, Extreme extreme)
{
    using Point = decltype(*first);
    if (extreme == Extreme::Highest)
        return std::max_element(first, last, [](Point a, Point b) { return Algos::pointY(a) < Algos::pointY(b); });
    return std::min_element(first, last, [](Point a, Point b) { return Algos::pointY(a) < Algos::pointY(b); });
}

} // namespace MeasurementMath
