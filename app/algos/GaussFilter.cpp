#include "GaussFilter.h"

#include <QMutex>
#include <QMutexLocker>

#include <fftw3.h>

#include <cfloat>
#include <cmath>

#include "Geometry.h"
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

    // Subtracts (sign -1) or adds (sign +1) the line at every point.
    void apply(ProfileData& profile, double sign) const
    {
        for (int i = 0; i < profile[0].size(); ++i)
            profile[1][i] += sign * at(profile[0][i]);
    }
};

// Wavelength of every bin of an evenly spaced profile of n points and the
// given step; bins j and n - j share the wavelength n step / j.
QVector<double> binWavelengths(int n, double step)
{
    QVector<double> wavelengths(n, 0.0);
    wavelengths[0] = kMeanBinWavelength;
    for (int j = 1; j <= n / 2; ++j) {
        const double wavelength = n * step / j;
        wavelengths[j] = wavelength;
        wavelengths[n - j] = wavelength;
    }
    return wavelengths;
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
    for (int i = 0; i < bins; ++i) {
        const double wavelength = wavelengths[i];
        if (wavelength > DBL_MAX) {
            spectrum[i] = 0;
            continue;
        }
        const double shortPart = kGaussAlpha * b / wavelength;
        const double longPart = kGaussAlpha * a / wavelength;
        spectrum[i] *= std::abs(std::exp(-M_PI * shortPart * shortPart) - std::exp(-M_PI * longPart * longPart));
    }
}

ProfileData trimEnds(ProfileData profile, double cutOff)
{
    if (!isTwoColumnProfile(profile) || std::isnan(cutOff))
        return profile;
    const QVector<double>& x = profile[0];
    const double length = x.last() - x.first();
    if (cutOff > length)
        return profile;
    const double lo = x.first() + 0.5 * cutOff;
    const double hi = x.last() - 0.5 * cutOff;
    if (lo >= hi)
        return profile;

    ProfileData kept(profile.size());
    for (QVector<double>& column : kept)
        column.reserve(x.size());
    for (int i = 0; i < x.size(); ++i) {
        if (x[i] < lo || x[i] > hi)
            continue;
        for (int c = 0; c < profile.size(); ++c)
            kept[c].append(profile[c][i]);
    }
    return kept;
}

ProfileData gaussFilter(const ProfileData& profile, double cutOffA, double cutOffB)
{
    if (!isFilterable(profile) || !isCutOff(cutOffA) || !isCutOff(cutOffB))
        return {};
    const bool meanLine = cutOffA == DBL_MAX;

    const Trend trend(profile);
    ProfileData detrended = profile;
    trend.apply(detrended, -1);

    ProfileData even = resampleToPowerOfTwo(detrended);
    const int n = even[0].size();
    Spectrum spectrum(n);
    for (int i = 0; i < n; ++i)
        spectrum[i] = even[1][i];
    fft(spectrum);

    const double step = (profile[0].last() - profile[0].first()) / (n - 1);
    applyGaussWeights(spectrum, binWavelengths(n, step), cutOffA, cutOffB);
    inverseFft(spectrum);
    for (int i = 0; i < n; ++i)
        even[1][i] = spectrum[i].real();

    ProfileData filtered = resampleAt(even, profile[0]);
    if (meanLine)
        trend.apply(filtered, +1);
    return trimEnds(std::move(filtered), meanLine ? cutOffB : cutOffA);
}

} // namespace Algos
