#pragma once

#include <array>

namespace kalvora {

// Positions in the 40-entry result array of the parameter functions.
enum ResultIndex : int {
    kArithmeticMeanDeviation = 0,
    kTenPointHeight = 1,
    kTotalHeight = 3,
    kPeakHeight = 4,
    kValleyDepth = 5,
    kCrossingSpacing = 6,
    kPeakSpacing = 7,
    kMeanSlopeAngle = 8,
    kRmsSlopeAngle = 9,
    kDevelopedLengthRatio = 10,
    kRmsDeviation = 11,
    kCallerEntry = 12,
    kMeanDepthBelowTop = 13,
    kDevelopedLength = 14,
    kMeanWavelength = 15,
    kRmsWavelength = 16,
    kCrossingDensity = 17,
    kAmplitudeDensity = 18,
    kMaterialRatio = 19,
    kWavinessTotalHeight = 20,
    kWavinessMeanDeviation = 21,
    kWavinessRmsDeviation = 22,
    kWavinessCrossingSpacing = 23,
    kLevel = 24,
    kReducedPeakHeight = 25,
    kCoreDepth = 26,
    kReducedValleyDepth = 27,
    kUpperMaterialRatio = 28,
    kLowerMaterialRatio = 29,
    kResultCount = 40
};

// The mark of a parameter left without a value.
constexpr double kNoValue = -1e9;

using Results = std::array<double, kResultCount>;

} // namespace kalvora
