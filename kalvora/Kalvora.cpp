#include "Kalvora.h"

#include <algorithm>
#include <cmath>

#include "ArcRemoval.h"
#include "GaussianProfileFilter.h"
#include "LineParameters.h"
#include "MaterialRatio.h"
#include "ResultIndex.h"

// Every entry point checks its arguments before it touches an array, and keeps
// exceptions (a failed allocation) inside the library. Results are gathered in
// a local copy of the result array and written back in one piece, so a call
// either completes or leaves the caller's arrays as they were.

namespace {

using kalvora::Results;

bool isPositiveFinite(double value)
{
    return std::isfinite(value) && value > 0;
}

Results copyOf(const double* res)
{
    Results results;
    std::copy(res, res + kalvora::kResultCount, results.begin());
    return results;
}

void writeBack(const Results& results, double* res)
{
    std::copy(results.begin(), results.end(), res);
}

} // namespace

extern "C" {

double _KalvoraDLLExcludeRound(double* z, double a, double b, int n)
{
    if (!z || n < 3 || !std::isfinite(a) || !std::isfinite(b) || b == 0)
        return kalvora::kNoRadius;
    return kalvora::removeParabola(z, static_cast<std::size_t>(n), a, b);
}

void _KalvoraDLLFilterLine(double* z, double* step, int* n, double* meanLine, double lambdaS, double lambdaC)
{
    if (!z || !step || !n)
        return;
    try {
        const auto filter = kalvora::GaussianProfileFilter::plan(*n, *step, lambdaS, lambdaC);
        if (filter)
            filter->apply(z, meanLine);
    } catch (...) {
    }
}

void _KalvoraDLLCalculateLine(double* res, double* x, double* z, int n, double step)
{
    if (!res)
        return;
    Results results = copyOf(res);
    kalvora::presetRoughnessParameters(results);
    writeBack(results, res);
    if (!x || !z || n < 2 || !isPositiveFinite(step) || x[n - 1] == 0)
        return;
    try {
        kalvora::computeRoughnessParameters(results, x, z, static_cast<std::size_t>(n), step);
        writeBack(results, res);
    } catch (...) {
    }
}

void _KalvoraDLLComputeDpTp(double* res, double* /*x*/, double* z, int n, int a, int b, int c)
{
    const long long level = static_cast<long long>(b) - c;
    if (!res || !z || n < 1 || level < 0 || level > 100)
        return;
    Results results = copyOf(res);
    kalvora::computeMaterialRatio(results, z, static_cast<std::size_t>(n), a, static_cast<int>(level));
    writeBack(results, res);
}

void _KalvoraDLLCalculateLineW(double* res, double* x, double* z, int n)
{
    if (!res || !x || !z || n < 2)
        return;
    try {
        Results results = copyOf(res);
        kalvora::computeWavinessParameters(results, x, z, static_cast<std::size_t>(n));
        writeBack(results, res);
    } catch (...) {
    }
}

} // extern "C"
