#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace kalvora {

// Two-pass Gaussian profile filter: smoothing with the short cut-off, then a
// mean line with the long cut-off, evaluated on every D-th sample and
// interpolated back. Weights exp(-(3.77344 d / lambda)^2), cut at 0.7 lambda.
class GaussianProfileFilter
{
public:
    // Nothing when the arguments allow no filtering: fewer than two samples,
    // a step or cut-off that is not a positive finite number, or fewer than
    // two mean-line points.
    static std::optional<GaussianProfileFilter> plan(int sampleCount, double step, double lambdaS, double lambdaC);

    // z[0..n-1] becomes the roughness profile; meanLine, when not null,
    // receives the mean line.
    void apply(double* z, double* meanLine) const;

private:
    GaussianProfileFilter() = default;

    std::size_t meanLinePointCount() const { return sampleCount_ / decimation_; }

    std::vector<double> smoothed(const double* z) const;
    std::vector<double> coarseMeanLine(const double* smoothedZ) const;
    double meanLineAt(const std::vector<double>& coarse, std::size_t i) const;

    std::size_t sampleCount_ = 0;
    double smoothingSubSampling_ = 1;
    std::vector<double> smoothingWeights_;
    std::size_t decimation_ = 1;
    double meanSubSampling_ = 1;
    std::vector<double> meanWeights_;
};

} // namespace kalvora
