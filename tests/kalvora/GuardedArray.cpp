#include "GuardedArray.h"

#include <algorithm>

GuardedArray::GuardedArray(const std::vector<double>& values)
    : size_(static_cast<int>(values.size()))
    , storage_(values.size() + 2 * kGuard, kGuardValue)
{
    std::copy(values.begin(), values.end(), storage_.begin() + kGuard);
}

std::vector<double> GuardedArray::values() const
{
    return {storage_.begin() + kGuard, storage_.end() - kGuard};
}

bool GuardedArray::guardsIntact() const
{
    const auto isGuard = [](double v) { return v == kGuardValue; };
    return std::all_of(storage_.begin(), storage_.begin() + kGuard, isGuard)
        && std::all_of(storage_.end() - kGuard, storage_.end(), isGuard);
}
