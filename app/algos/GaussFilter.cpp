#include "GaussFilter.h"

#include <QMutex>
#include <QMutexLocker>

#include <fftw3.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>

#include "Geometry.h"
#include "KeySlack.h"
#include "ProfileChecks.h"

namespace Algos {

namespace {

// Wavelength given to bin 0, the mean of the profile: 1e9 micrometres.
constexpr double kMeanBinWavelength = 1e9;

// FFTW's planner is not thread-safe; filters run on several threads at once.
QMutex& plannerMutex()
{
    static QMutex mutex;
    return mutex;
}

void transform(Spectrum& spectrum, int sign)
{
    if (spectrum.size() < 2)
        return;
    auto* data = reinterpret_cast<fftw_complex*>(spectrum.data());
    fftw_plan plan;
    {
        QMutexLocker lock(&plannerMutex());
        plan = fftw_plan_dft_1d(spectrum.size(), data, data, sign, FFTW_ESTIMATE);
    }
    fftw_execute(plan);
    QMutexLocker lock(&plannerMutex());
    fftw_destroy_plan(plan);
}

bool isFilterable(const ProfileData& profile)
{
    return isTwoColumnProfile(profile) && profile[0].size() >= 2 && allFinite(profile[0])
        && allFinite(profile[1]) && profile[0].first() < profile[0].last();
}

bool isCutOff(double cutOff)
{
    return cutOff > 0 && std::isfinite(cutOff);
}

// Least-squares line through the profile, about the mean x so that x far
// from 0 loses no precision.
struct Trend
{
    double meanX = 0;
    double meanY = 0;
    double slope = 0;

    explicit Trend(const ProfileData& profile)
    {
        const QVector<double>& x = profile[0];
        const QVector<double>& y = profile[1];
        const int n = x.size();
        for (int i = 0; i < n; ++i) {
            meanX += x[i];
            meanY += y[i];
        }
        meanX /= n;
        meanY /= n;
        double sxx = 0;
        double sxy = 0;
        for (int i = 0; i < n; ++i) {
            sxx += (x[i] - meanX) * (x[i] - meanX);
            sxy += (x[i] - meanX) * (y[i] - meanY);
        }
        slope = sxy / sxx;
    }

    double at(double x) const { return meanY + slope * (x - meanX); }

    void addTo(ProfileData& profile) const
    {
        const QVector<double>& x = qAsConst(profile)[0];
        QVector<double>& y = profile[1];
        for (int i = 0; i < x.size(); ++i)
            y[i] += at(x[i]);
    }
};

// Wavelength of bin j of an evenly spaced profile of n points and the given
// step; bins j and n - j share it.
double binWavelength(int j, int n, double step)
{
    return j == 0 ? kMeanBinWavelength : n * step / j;
}

// exp(-pi (alpha cutOff / wavelength)^2): the share of a wavelength that the
// low-pass of a cut-off keeps. Beyond 746 the exponential is 0 in doubles;
// skipping it there avoids the slow underflow path of exp().
double gaussTransmission(double cutOff, double wavelength)
{
    const double ratio = kGaussAlpha * cutOff / wavelength;
    const double exponent = M_PI * ratio * ratio;
    return exponent > 746 ? 0.0 : std::exp(-exponent);
}

// The share of a wavelength that the band between cut-offs a and b keeps.
double gaussWeight(double wavelength, double a, double b)
{
    if (wavelength > DBL_MAX)
        return 0.0;
    return std::abs(gaussTransmission(b, wavelength) - gaussTransmission(a, wavelength));
}

struct FftwDeleter
{
    void operator()(void* data) const { fftw_free(data); }
};
using RealBuffer = std::unique_ptr<double[], FftwDeleter>;
using ComplexBuffer = std::unique_ptr<fftw_complex[], FftwDeleter>;

// Filters real samples in place: forward real transform, weights on the half
// spectrum (the other half mirrors it), inverse transform scaled by 1 / n.
void filterSamples(double* samples, int n, double step, double a, double b)
{
    const int bins = n / 2 + 1;
    const ComplexBuffer spectrum(fftw_alloc_complex(bins));
    fftw_plan forward;
    fftw_plan backward;
    {
        QMutexLocker lock(&plannerMutex());
        forward = fftw_plan_dft_r2c_1d(n, samples, spectrum.get(), FFTW_ESTIMATE);
        backward = fftw_plan_dft_c2r_1d(n, spectrum.get(), samples, FFTW_ESTIMATE);
    }
    fftw_execute(forward);
    for (int j = 0; j < bins; ++j) {
        const double weight = gaussWeight(binWavelength(j, n, step), a, b) / n;
        spectrum[j][0] *= weight;
        spectrum[j][1] *= weight;
    }
    fftw_execute(backward);
    QMutexLocker lock(&plannerMutex());
    fftw_destroy_plan(forward);
    fftw_destroy_plan(backward);
}

} // namespace

ProfileData resampleToPowerOfTwo(const ProfileData& profile)
{
    if (!isTwoColumnProfile(profile))
        return {};
    const QVector<double>& x = profile[0];
    const int n = x.size();
    if (n == 1)
        return profile;

    int count = 1;
    while (count < n)
        count *= 2;
    // Even a profile of a power-of-two length is interpolated: its x need not
    // be evenly spaced, and for evenly spaced x this reproduces the heights.
    QVector<double> grid(count);
    const double step = (x[n - 1] - x[0]) / (count - 1);
    for (int i = 0; i < count; ++i)
        grid[i] = x[0] + i * step;
    grid[count - 1] = x[n - 1];
    return resampleAt(profile, grid);
}

void fft(Spectrum& spectrum)
{
    transform(spectrum, FFTW_FORWARD);
}

void inverseFft(Spectrum& spectrum)
{
    transform(spectrum, FFTW_BACKWARD);
    const double scale = 1.0 / spectrum.size();
    for (std::complex<double>& bin : spectrum)
        bin *= scale;
}

void applyGaussWeights(Spectrum& spectrum, const QVector<double>& wavelengths, double a, double b)
{
    const int bins = std::min(spectrum.size(), wavelengths.size());
    for (int i = 0; i < bins; ++i)
        spectrum[i] *= gaussWeight(wavelengths[i], a, b);
}

ProfileData trimEnds(ProfileData profile, double cutOff)
{
    if (!isTwoColumnProfile(profile) || std::isnan(cutOff))
        return profile;
    const QVector<double>& x = qAsConst(profile)[0];
    const double slack = keySlack(x.first(), x.last());
    const double length = x.last() - x.first();
    if (cutOff > length + slack)
        return profile;
    const double lo = x.first() + 0.5 * cutOff;
    const double hi = x.last() - 0.5 * cutOff;
    if (lo >= hi - slack)
        return profile;

    const auto inside = [&](double xi) { return xi >= lo - slack && xi <= hi + slack; };
    const int first = int(std::find_if(x.cbegin(), x.cend(), inside) - x.cbegin());
    const int end = int(std::find_if_not(x.cbegin() + first, x.cend(), inside) - x.cbegin());
    ProfileData kept;
    for (const QVector<double>& column : qAsConst(profile))
        kept.append(column.mid(first, end - first));
    // Points out of order may lie inside the bounds further on.
    for (int i = end; i < x.size(); ++i) {
        if (!inside(x[i]))
            continue;
        for (int c = 0; c < profile.size(); ++c)
            kept[c].append(qAsConst(profile)[c][i]);
    }
    return kept;
}

ProfileData gaussFilter(const ProfileData& profile, double cutOffA, double cutOffB)
{
    if (!isFilterable(profile) || !isCutOff(cutOffA) || !isCutOff(cutOffB))
        return {};
    const bool meanLine = cutOffA == DBL_MAX;

    // Interpolation keeps a line straight, so the trend comes off after resampling.
    const Trend trend(profile);
    ProfileData even = resampleToPowerOfTwo(profile);
    const int n = even[0].size();
    const QVector<double>& evenX = qAsConst(even)[0];
    const QVector<double>& evenY = qAsConst(even)[1];
    // FFTW's aligned buffer lets it use its vectorised kernels.
    const RealBuffer samples(fftw_alloc_real(n));
    for (int i = 0; i < n; ++i)
        samples[i] = evenY[i] - trend.at(evenX[i]);
    const double step = (profile[0].last() - profile[0].first()) / (n - 1);
    filterSamples(samples.get(), n, step, cutOffA, cutOffB);
    std::copy(samples.get(), samples.get() + n, even[1].begin());

    ProfileData filtered = resampleAt(even, profile[0]);
    if (meanLine)
        trend.addTo(filtered);
    return trimEnds(std::move(filtered), meanLine ? cutOffB : cutOffA);
}

} // namespace Algos
