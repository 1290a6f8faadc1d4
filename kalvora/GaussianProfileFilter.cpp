#include "GaussianProfileFilter.h"

#include <algorithm>
#include <cmath>

namespace kalvora {

namespace {

constexpr double kGaussShape = 3.77344;
constexpr double kTruncation = 0.7;
constexpr double kSpacingShare = 0.05;

bool isPositiveFinite(double value)
{
    return std::isfinite(value) && value > 0;
}

// The smallest k >= 1 with step / k <= 0.05 * lambda, found without counting
// up so that a tiny lambda cannot stall the call.
std::optional<double> subSamplingFactor(double step, double lambda)
{
    const double limit = kSpacingShare * lambda;
    if (!(limit > 0))
        return std::nullopt;
    if (step <= limit)
        return 1.0;
    double k = std::ceil(step / limit);
    if (!std::isfinite(k))
        return std::nullopt;
    if (k > 1 && step / (k - 1) <= limit)
        k -= 1;
    if (step / k > limit)
        k += 1;
    return k;
}

// Weights for the sub-sample offsets j * spacing, j = 0 .. count - 1. Offsets
// of n samples or more never fall inside the profile, so the count is capped
// there; the sums stay the same.
std::vector<double> gaussianWeights(double spacing, double lambda, double subSampling, double count,
                                    std::size_t sampleCount)
{
    const double reach = subSampling * static_cast<double>(sampleCount) + 1.0;
    const auto size = static_cast<std::size_t>(std::min(count, reach));
    std::vector<double> weights(size);
    for (std::size_t j = 0; j < size; ++j) {
        const double u = kGaussShape * static_cast<double>(j) * spacing / lambda;
        weights[j] = std::exp(-u * u);
    }
    return weights;
}

// Every D-th sample carries a mean-line point, D growing by whole steps while
// it stays within 0.05 * lambdaC. Nothing when that leaves fewer than two.
std::optional<std::size_t> decimationFactor(double step, double lambdaC, std::size_t sampleCount)
{
    const double limit = kSpacingShare * lambdaC;
    double span = step;
    for (std::size_t grown = 0; span + step <= limit; ++grown) {
        if (grown > sampleCount)
            return std::nullopt;
        span += step;
    }
    const auto factor = static_cast<std::size_t>(std::max(1.0, std::trunc(span / step)));
    if (sampleCount / factor < 2)
        return std::nullopt;
    return factor;
}

// Linear interpolation at a real sample position; beyond the last sample the
// last two are extrapolated.
double interpolated(const double* values, std::size_t count, double position)
{
    const double index = std::clamp(std::trunc(position), 0.0, static_cast<double>(count - 2));
    const double f = position - index;
    const auto i = static_cast<std::size_t>(index);
    return (1.0 - f) * values[i] + f * values[i + 1];
}

// Normalised weighted sum around sample `centre`, over the positions
// centre +- j / subSampling that lie inside the profile.
double weightedMeanAround(const double* z, std::size_t n, std::size_t centre, const std::vector<double>& weights,
                          double subSampling)
{
    const double c = static_cast<double>(centre);
    const double end = static_cast<double>(n);
    double sum = z[centre] * weights[0];
    double total = weights[0];
    for (std::size_t j = 1; j < weights.size(); ++j) {
        const double offset = static_cast<double>(j) / subSampling;
        const double ahead = c + offset;
        if (ahead < end) {
            sum += weights[j] * interpolated(z, n, ahead);
            total += weights[j];
        }
        const double behind = c - offset;
        if (behind >= 0) {
            sum += weights[j] * interpolated(z, n, behind);
            total += weights[j];
        }
    }
    return sum / total;
}

} // namespace

std::optional<GaussianProfileFilter> GaussianProfileFilter::plan(int sampleCount, double step, double lambdaS,
                                                                 double lambdaC)
{
    if (sampleCount < 2 || !isPositiveFinite(step) || !isPositiveFinite(lambdaS) || !isPositiveFinite(lambdaC))
        return std::nullopt;
    const auto n = static_cast<std::size_t>(sampleCount);
    const auto k = subSamplingFactor(step, lambdaS);
    const auto k2 = subSamplingFactor(step, lambdaC);
    const auto d = decimationFactor(step, lambdaC, n);
    if (!k || !k2 || !d)
        return std::nullopt;

    GaussianProfileFilter filter;
    filter.sampleCount_ = n;
    filter.smoothingSubSampling_ = *k;
    const double m = std::trunc(*k * kTruncation * lambdaS / step + 1.0);
    filter.smoothingWeights_ = gaussianWeights(step / *k, lambdaS, *k, m, n);
    filter.decimation_ = *d;
    filter.meanSubSampling_ = *k2;
    const double h = step / *k2;
    const double m2 = std::trunc(kTruncation * lambdaC / h + 1.0);
    filter.meanWeights_ = gaussianWeights(h, lambdaC, *k2, m2, n);
    return filter;
}

void GaussianProfileFilter::apply(double* z, double* meanLine) const
{
    std::vector<double> work = smoothed(z);
    const std::vector<double> coarse = coarseMeanLine(work.data());
    for (std::size_t i = 0; i < sampleCount_; ++i) {
        const double mean = meanLineAt(coarse, i);
        z[i] = work[i] - mean;
        if (meanLine)
            meanLine[i] = mean;
    }
}

std::vector<double> GaussianProfileFilter::smoothed(const double* z) const
{
    std::vector<double> result(sampleCount_);
    for (std::size_t i = 0; i < sampleCount_; ++i)
        result[i] = weightedMeanAround(z, sampleCount_, i, smoothingWeights_, smoothingSubSampling_);
    return result;
}

std::vector<double> GaussianProfileFilter::coarseMeanLine(const double* smoothedZ) const
{
    std::vector<double> coarse(meanLinePointCount());
    for (std::size_t c = 0; c < coarse.size(); ++c)
        coarse[c] = weightedMeanAround(smoothedZ, sampleCount_, c * decimation_, meanWeights_, meanSubSampling_);
    return coarse;
}

double GaussianProfileFilter::meanLineAt(const std::vector<double>& coarse, std::size_t i) const
{
    return interpolated(coarse.data(), coarse.size(),
                        static_cast<double>(i) / static_cast<double>(decimation_));
}

} // namespace kalvora
