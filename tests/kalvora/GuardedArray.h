#pragma once

#include <vector>

// An array of doubles with guard values on both sides, to show writes past
// either end. data() points at the first real element.
class GuardedArray
{
public:
    explicit GuardedArray(const std::vector<double>& values);

    double* data() { return storage_.data() + kGuard; }
    double& operator[](int i) { return data()[i]; }
    int size() const { return size_; }
    std::vector<double> values() const;
    bool guardsIntact() const;

private:
    static constexpr int kGuard = 8;
    static constexpr double kGuardValue = -777.125;

    int size_;
    std::vector<double> storage_;
};
