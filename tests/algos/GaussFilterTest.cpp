#include <QtConcurrent>
#include <QtTest>

#include <cfloat>
#include <cmath>
#include <random>

#include "FuzzyCompare.h"
#include "GaussFilter.h"
#include "Geometry.h"
#include "ProfileFixtures.h"
#include "TestMain.h"

namespace {

constexpr double kCutOff = 800;
// The short-wave cut-off the roughness filter uses with 800.
constexpr double kShortCutOff = 800.0 / 300;

using Height = std::function<double(double)>;

ProfileData sampled(double length, double step, const Height& height)
{
    ProfileData profile(2);
    const int count = int(std::floor(length / step + 1e-9)) + 1;
    for (int i = 0; i < count; ++i) {
        const double x = i * step;
        profile[0].append(x);
        profile[1].append(height(x));
    }
    return profile;
}

// Amplitude of the component of one wavelength, by a least-squares fit of
// a sine, a cosine and a line to the profile.
double amplitudeAt(const ProfileData& profile, double wavelength)
{
    const int n = profile[0].size();
    double m[5][6] = {};
    for (int i = 0; i < n; ++i) {
        const double x = profile[0][i];
        const double basis[5] = {std::sin(2 * M_PI * x / wavelength), std::cos(2 * M_PI * x / wavelength), 1, x, 0};
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c)
                m[r][c] += basis[r] * basis[c];
            m[r][4] += basis[r] * profile[1][i];
        }
    }
    for (int p = 0; p < 4; ++p)
        for (int r = 0; r < 4; ++r)
            if (r != p) {
                const double f = m[r][p] / m[p][p];
                for (int c = 0; c < 5; ++c)
                    m[r][c] -= f * m[p][c];
            }
    const double s = m[0][4] / m[0][0];
    const double c = m[1][4] / m[1][1];
    return std::hypot(s, c);
}

double maxAbs(const QVector<double>& values)
{
    double m = 0;
    for (double v : values)
        m = std::max(m, std::abs(v));
    return m;
}

double arithmeticMean(const QVector<double>& values)
{
    double sum = 0;
    for (double v : values)
        sum += std::abs(v);
    return sum / values.size();
}

ProfileData roughness(const ProfileData& profile)
{
    return Algos::gaussFilter(profile, kCutOff, kShortCutOff);
}

ProfileData noisy(int count, double step, double x0, double tilt, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> noise(-1, 1);
    ProfileData profile(2);
    for (int i = 0; i < count; ++i) {
        const double x = x0 + i * step;
        profile[0].append(x);
        profile[1].append(tilt * x + 0.3 * std::sin(x / 37) + noise(generator));
    }
    return profile;
}

// The filter the long way: the least-squares line off, a complex transform of
// the whole spectrum, bins j and n - j weighted alike, back, line on for the
// mean line, resampled and trimmed.
ProfileData fullSpectrumFilter(const ProfileData& profile, double cutOffA, double cutOffB)
{
    const QVector<double>& x = profile[0];
    const QVector<double>& y = profile[1];
    const int count = x.size();
    double meanX = 0;
    double meanY = 0;
    for (int i = 0; i < count; ++i) {
        meanX += x[i];
        meanY += y[i];
    }
    meanX /= count;
    meanY /= count;
    double sxx = 0;
    double sxy = 0;
    for (int i = 0; i < count; ++i) {
        sxx += (x[i] - meanX) * (x[i] - meanX);
        sxy += (x[i] - meanX) * (y[i] - meanY);
    }
    const auto line = [&](double at) { return meanY + sxy / sxx * (at - meanX); };

    ProfileData even = Algos::resampleToPowerOfTwo(profile);
    const int n = even[0].size();
    Algos::Spectrum spectrum(n);
    for (int i = 0; i < n; ++i)
        spectrum[i] = even[1][i] - line(even[0][i]);
    Algos::fft(spectrum);
    const double step = (x.last() - x.first()) / (n - 1);
    QVector<double> wavelengths(n, 1e9);
    for (int j = 1; j < n; ++j)
        wavelengths[j] = n * step / std::min(j, n - j);
    Algos::applyGaussWeights(spectrum, wavelengths, cutOffA, cutOffB);
    Algos::inverseFft(spectrum);
    for (int i = 0; i < n; ++i)
        even[1][i] = spectrum[i].real();

    ProfileData filtered = Algos::resampleAt(even, x);
    const bool meanLine = cutOffA == DBL_MAX;
    if (meanLine)
        for (int i = 0; i < count; ++i)
            filtered[1][i] += line(x[i]);
    return Algos::trimEnds(filtered, meanLine ? cutOffB : cutOffA);
}

void verifyTrimmed(const ProfileData& input, const ProfileData& output, double trim)
{
    QCOMPARE(output.size(), 2);
    QVERIFY(!output[0].isEmpty());
    QVERIFY(output[0].first() >= input[0].first() + trim);
    QVERIFY(output[0].first() < input[0].first() + trim + 1);
    QVERIFY(output[0].last() <= input[0].last() - trim);
    QVERIFY(output[0].last() > input[0].last() - trim - 1);
}

} // namespace

class GaussFilterTest : public QObject
{
    Q_OBJECT

private slots:
    void transmission_data()
    {
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("wavelength");
        QTest::addColumn<bool>("meanLine");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("tolerance");

        // The weights of the Gaussian filter: a mean line passes exp(-pi (0.4697 lc / L)^2)
        // of a wavelength L, the roughness the rest.
        const double half = std::exp(-M_PI * 0.4697 * 0.4697);
        const double atHalfCutOff = std::exp(-M_PI * 0.4697 * 0.4697 * 4);
        const double atFiveCutOffs = std::exp(-M_PI * 0.4697 * 0.4697 / 25);

        for (double length : {4000.0, 5000.0, 5600.0, 7777.7, 12800.0}) {
            QTest::addRow("roughness at lc, length %g", length) << length << kCutOff << false << 1 - half << 0.005;
            QTest::addRow("mean line at lc, length %g", length) << length << kCutOff << true << half << 0.005;
        }
        QTest::newRow("roughness at lc/2") << 6000.0 << kCutOff / 2 << false << 1 - atHalfCutOff << 0.005;
        QTest::newRow("mean line at lc/2") << 6000.0 << kCutOff / 2 << true << atHalfCutOff << 0.005;
        QTest::newRow("roughness at 5 lc") << 16000.0 << 5 * kCutOff << false << 1 - atFiveCutOffs << 0.005;
        QTest::newRow("mean line at 5 lc") << 16000.0 << 5 * kCutOff << true << atFiveCutOffs << 0.005;
        QTest::newRow("roughness at 3 ls is damped") << 4000.0 << 3 * kShortCutOff << false
                                                     << std::exp(-M_PI * 0.4697 * 0.4697 / 9) << 0.005;
    }

    void transmission()
    {
        QFETCH(double, length);
        QFETCH(double, wavelength);
        QFETCH(bool, meanLine);
        QFETCH(double, expected);
        QFETCH(double, tolerance);

        const double step = std::min(0.5, wavelength / 64);
        const ProfileData profile
            = sampled(length, step, [&](double x) { return 2 * std::sin(2 * M_PI * x / wavelength + 0.3); });
        const ProfileData filtered = meanLine ? Algos::gaussFilter(profile, DBL_MAX, kCutOff)
                                              : Algos::gaussFilter(profile, kCutOff, kShortCutOff);
        verifyTrimmed(profile, filtered, kCutOff / 2);
        const double gain = amplitudeAt(filtered, wavelength) / 2;
        KALVORA_COMPARE_NEAR(gain, expected, tolerance);
    }

    void rampHasNoRoughness()
    {
        const ProfileData ramp = sampled(5000, 0.5, [](double x) { return 3 + 0.01 * x; });
        const ProfileData roughness = Algos::gaussFilter(ramp, kCutOff, kShortCutOff);
        verifyTrimmed(ramp, roughness, 400);
        QVERIFY(maxAbs(roughness[1]) < 1e-9);

        const ProfileData meanLine = Algos::gaussFilter(ramp, DBL_MAX, kCutOff);
        for (int i = 0; i < meanLine[0].size(); ++i)
            KALVORA_COMPARE_NEAR(meanLine[1][i], 3 + 0.01 * meanLine[0][i], 1e-9);
    }

    void constantHasNoRoughness()
    {
        const ProfileData flat = sampled(3000, 0.5, [](double) { return 7.25; });
        QVERIFY(maxAbs(Algos::gaussFilter(flat, kCutOff, kShortCutOff)[1]) < 1e-12);
        const ProfileData meanLine = Algos::gaussFilter(flat, DBL_MAX, kCutOff);
        QCOMPARE(meanLine.size(), 2);
        for (double h : meanLine[1])
            KALVORA_COMPARE_NEAR(h, 7.25, 1e-12);
    }

    // A slightly tilted fine surface reads the same roughness as a level one.
    void tiltDoesNotChangeRoughness()
    {
        const auto surface = [](double x) {
            return 0.1 * std::sin(2 * M_PI * x / 95) + 0.04 * std::sin(2 * M_PI * x / 37 + 1);
        };
        const ProfileData level = sampled(5000, 0.5, surface);
        const ProfileData tilted = sampled(5000, 0.5, [&](double x) { return surface(x) + 0.02 * x + 40; });

        const ProfileData levelRoughness = Algos::gaussFilter(level, kCutOff, kShortCutOff);
        const ProfileData tiltedRoughness = Algos::gaussFilter(tilted, kCutOff, kShortCutOff);
        QCOMPARE(tiltedRoughness[0], levelRoughness[0]);
        const double levelRa = arithmeticMean(levelRoughness[1]);
        KALVORA_COMPARE_NEAR(arithmeticMean(tiltedRoughness[1]), levelRa, 0.002 * levelRa);
        QVERIFY(maxAbs(tiltedRoughness[1]) < 0.15);
    }

    // Points need not be evenly spaced, even when their number is a power of two.
    void unevenSpacing_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("1024 points") << 1024;
        QTest::newRow("1500 points") << 1500;
    }

    void unevenSpacing()
    {
        QFETCH(int, count);
        const double length = 8000;
        const double wavelength = 4 * kCutOff;
        ProfileData profile(2);
        for (int i = 0; i < count; ++i) {
            const double x = length * std::pow(double(i) / (count - 1), 1.4);
            profile[0].append(x);
            profile[1].append(std::sin(2 * M_PI * x / wavelength));
        }
        const ProfileData meanLine = Algos::gaussFilter(profile, DBL_MAX, kCutOff);
        const double gain = std::exp(-M_PI * 0.4697 * 0.4697 / 16);
        for (int i = 0; i < meanLine[0].size(); ++i)
            KALVORA_COMPARE_NEAR(meanLine[1][i], gain * std::sin(2 * M_PI * meanLine[0][i] / wavelength), 0.01);
    }

    void trimming_data()
    {
        QTest::addColumn<double>("length");
        QTest::addColumn<bool>("meanLine");
        QTest::addColumn<bool>("trimmed");

        QTest::newRow("roughness of 5000") << 5000.0 << false << true;
        QTest::newRow("mean line of 5000") << 5000.0 << true << true;
        QTest::newRow("roughness of 700") << 700.0 << false << false;
        QTest::newRow("mean line of 700") << 700.0 << true << false;
    }

    void trimming()
    {
        QFETCH(double, length);
        QFETCH(bool, meanLine);
        QFETCH(bool, trimmed);

        // Points at 0, 0.25, 0.5, ...: the trim bounds lie exactly on points.
        const ProfileData profile = sampled(length, 0.25, [](double x) { return std::sin(x / 30); });
        const ProfileData result = meanLine ? Algos::gaussFilter(profile, DBL_MAX, kCutOff)
                                            : Algos::gaussFilter(profile, kCutOff, kShortCutOff);
        QCOMPARE(result.size(), 2);
        QCOMPARE(result[1].size(), result[0].size());
        if (trimmed) {
            QCOMPARE(result[0].first(), 400.0);
            QCOMPARE(result[0].last(), length - 400);
            QCOMPARE(result[0], profile[0].mid(1600, result[0].size()));
        } else {
            QCOMPARE(result[0], profile[0]);
        }
    }

    void trimEnds()
    {
        const ProfileData profile{{0, 1, 2, 3, 4, 5, 6}, {10, 11, 12, 13, 14, 15, 16}};
        QCOMPARE(Algos::trimEnds(profile, 4), (ProfileData{{2, 3, 4}, {12, 13, 14}}));
        QCOMPARE(Algos::trimEnds(profile, 7), profile);
        QCOMPARE(Algos::trimEnds(profile, 6), profile);
        QCOMPARE(Algos::trimEnds(profile, std::nan("")), profile);
        QCOMPARE(Algos::trimEnds(ProfileData{{}, {}}, 4), (ProfileData{{}, {}}));
        const ProfileData unordered{{0, 5, 1, 2, 6, 3, 10}, {0, 1, 2, 3, 4, 5, 6}};
        QCOMPARE(Algos::trimEnds(unordered, 4), (ProfileData{{5, 2, 6, 3}, {1, 3, 4, 5}}));
    }

    // Keys every 10 um up to 400 um as they come back from millimetres (350 as
    // 350.00000000000006): the point half a cut-off before the end stays, as
    // it does with the keys as sampled.
    void trimEndsKeepsKeysOffByARounding()
    {
        ProfileData profile = fixtures::sampled(0, 400, 10, [](double x) { return x; });
        const ProfileData sampled = Algos::trimEnds(profile, 100);
        QCOMPARE(sampled[1].last(), 350.0);
        profile[0] = fixtures::readBackFromMillimetres(profile[0]);
        QVERIFY(profile[0][35] > 350);
        QCOMPARE(Algos::trimEnds(profile, 100)[1], sampled[1]);
    }

    void resampleToPowerOfTwo_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("resampled");
        QTest::newRow("1024") << 1024 << 1024;
        QTest::newRow("1000") << 1000 << 1024;
        QTest::newRow("1025") << 1025 << 2048;
        QTest::newRow("2") << 2 << 2;
        QTest::newRow("3") << 3 << 4;
    }

    void resampleToPowerOfTwo()
    {
        QFETCH(int, count);
        QFETCH(int, resampled);

        const ProfileData profile = sampled((count - 1) * 0.5, 0.5, [](double x) { return 2 * x - 1; });
        const ProfileData result = Algos::resampleToPowerOfTwo(profile);
        QCOMPARE(result.size(), 2);
        QCOMPARE(result[0].size(), resampled);
        QCOMPARE(result[0].first(), profile[0].first());
        QCOMPARE(result[0].last(), profile[0].last());
        const double step = (profile[0].last() - profile[0].first()) / (resampled - 1);
        for (int i = 0; i < resampled; ++i) {
            KALVORA_COMPARE_NEAR(result[0][i], i * step, 1e-9);
            KALVORA_COMPARE_NEAR(result[1][i], 2 * result[0][i] - 1, 1e-9);
        }
    }

    void resampleToPowerOfTwoRefusesOtherShapes()
    {
        QVERIFY(Algos::resampleToPowerOfTwo(ProfileData{{0, 1}}).isEmpty());
        QVERIFY(Algos::resampleToPowerOfTwo(ProfileData{{0, 1}, {0}}).isEmpty());
        QVERIFY(Algos::resampleToPowerOfTwo(ProfileData{{}, {}}).isEmpty());
        QCOMPARE(Algos::resampleToPowerOfTwo(ProfileData{{2}, {5}}), (ProfileData{{2}, {5}}));
    }

    void fourierTransform()
    {
        const int n = 16;
        Algos::Spectrum spectrum(n);
        for (int i = 0; i < n; ++i)
            spectrum[i] = std::cos(2 * M_PI * 3 * i / n) + 0.5;
        const Algos::Spectrum original = spectrum;

        Algos::fft(spectrum);
        for (int j = 0; j < n; ++j) {
            const double expected = j == 0 ? n * 0.5 : (j == 3 || j == n - 3) ? n / 2.0 : 0.0;
            KALVORA_COMPARE_NEAR_AT(spectrum[j], expected, 1e-12, QString::number(j));
        }

        Algos::inverseFft(spectrum);
        for (int i = 0; i < n; ++i)
            KALVORA_COMPARE_NEAR(spectrum[i], original[i], 1e-12);

        Algos::Spectrum empty;
        Algos::fft(empty);
        Algos::inverseFft(empty);
        QVERIFY(empty.isEmpty());
    }

    void gaussWeights()
    {
        Algos::Spectrum spectrum(4, std::complex<double>(2, -4));
        Algos::applyGaussWeights(spectrum, {qInf(), 800, 400, 1e9}, DBL_MAX, 800);
        QCOMPARE(spectrum[0], std::complex<double>(0, 0));
        const double atCutOff = std::exp(-M_PI * 0.4697 * 0.4697);
        KALVORA_COMPARE_NEAR(spectrum[1], atCutOff * std::complex<double>(2, -4), 1e-15);
        KALVORA_COMPARE_NEAR(spectrum[3], std::complex<double>(2, -4), 1e-9);

        Algos::Spectrum band(1, 1.0);
        Algos::applyGaussWeights(band, {800}, 800, 8);
        KALVORA_COMPARE_NEAR(band[0].real(), std::exp(-M_PI * 0.4697 * 0.4697 / 10000) - atCutOff, 1e-15);
    }

    void matchesFullSpectrumFilter_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::addColumn<double>("cutOffA");
        QTest::addColumn<double>("cutOffB");

        const ProfileData plain = noisy(3000, 1, 0, 0, 1);
        QTest::newRow("noisy roughness") << plain << kCutOff << kShortCutOff;
        QTest::newRow("noisy mean line") << plain << DBL_MAX << kCutOff;
        QTest::newRow("noisy waviness") << plain << 250.0 << 500.0;
        const ProfileData tilted = noisy(3001, 0.5, 2e4, 0.01, 2);
        QTest::newRow("tilted odd length roughness") << tilted << kCutOff << kShortCutOff;
        QTest::newRow("tilted odd length mean line") << tilted << DBL_MAX << kCutOff;
        const ProfileData powerOfTwo = noisy(4096, 0.5, -100, -0.02, 3);
        QTest::newRow("power of two roughness") << powerOfTwo << kCutOff << kShortCutOff;
        QTest::newRow("power of two mean line") << powerOfTwo << DBL_MAX << kCutOff;
        ProfileData uneven = noisy(1500, 1, 0, 0.005, 4);
        for (int i = 0; i < uneven[0].size(); ++i)
            uneven[0][i] += 0.4 * std::sin(i * 1.3);
        QTest::newRow("uneven spacing") << uneven << kCutOff << kShortCutOff;
        QTest::newRow("two points") << noisy(2, 1, 0, 1, 5) << kCutOff << kShortCutOff;
        QTest::newRow("three points mean line") << noisy(3, 1, 0, 1, 6) << DBL_MAX << kCutOff;
    }

    void matchesFullSpectrumFilter()
    {
        QFETCH(ProfileData, profile);
        QFETCH(double, cutOffA);
        QFETCH(double, cutOffB);

        const ProfileData expected = fullSpectrumFilter(profile, cutOffA, cutOffB);
        const ProfileData filtered = Algos::gaussFilter(profile, cutOffA, cutOffB);
        QCOMPARE(filtered.size(), 2);
        QCOMPARE(filtered[0], expected[0]);
        QCOMPARE(filtered[1].size(), expected[1].size());
        const auto [lowest, highest] = std::minmax_element(profile[1].cbegin(), profile[1].cend());
        const double tolerance = 1e-12 * (*highest - *lowest);
        for (int i = 0; i < expected[1].size(); ++i)
            KALVORA_COMPARE_NEAR_AT(filtered[1][i], expected[1][i], tolerance, QStringLiteral("point %1").arg(i));
    }

    void degenerateInputGivesEmpty_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::addColumn<double>("cutOffA");
        QTest::addColumn<double>("cutOffB");

        const ProfileData good = sampled(2000, 1, [](double x) { return std::sin(x); });
        QTest::newRow("no columns") << ProfileData{} << kCutOff << kShortCutOff;
        QTest::newRow("one column") << ProfileData{good[0]} << kCutOff << kShortCutOff;
        QTest::newRow("three columns") << ProfileData{good[0], good[1], good[1]} << kCutOff << kShortCutOff;
        QTest::newRow("columns of different lengths")
            << ProfileData{good[0], good[1].mid(1)} << kCutOff << kShortCutOff;
        QTest::newRow("no points") << ProfileData{{}, {}} << kCutOff << kShortCutOff;
        QTest::newRow("one point") << ProfileData{{5}, {1}} << DBL_MAX << kCutOff;
        QTest::newRow("one x for all points") << ProfileData{{5, 5, 5}, {1, 2, 3}} << DBL_MAX << kCutOff;
        QTest::newRow("x falling") << ProfileData{{3, 2, 1}, {1, 2, 3}} << DBL_MAX << kCutOff;
        ProfileData withNan = good;
        withNan[1][700] = std::nan("");
        QTest::newRow("not-a-number height") << withNan << kCutOff << kShortCutOff;
        ProfileData withInf = good;
        withInf[0].last() = qInf();
        QTest::newRow("infinite x") << withInf << kCutOff << kShortCutOff;
        QTest::newRow("cut-off 0") << good << 0.0 << kShortCutOff;
        QTest::newRow("short cut-off 0") << good << kCutOff << 0.0;
        QTest::newRow("mean line cut-off 0") << good << DBL_MAX << 0.0;
        QTest::newRow("negative cut-off") << good << -800.0 << kShortCutOff;
        QTest::newRow("not-a-number cut-off") << good << std::nan("") << kShortCutOff;
        QTest::newRow("infinite cut-off") << good << kCutOff << qInf();
        QTest::newRow("infinite long cut-off") << good << qInf() << kShortCutOff;
    }

    void degenerateInputGivesEmpty()
    {
        QFETCH(ProfileData, profile);
        QFETCH(double, cutOffA);
        QFETCH(double, cutOffB);
        QVERIFY(Algos::gaussFilter(profile, cutOffA, cutOffB).isEmpty());
    }

    void repeatedFirstXStaysFinite()
    {
        ProfileData profile = sampled(3000, 0.5, [](double x) { return std::sin(x / 40); });
        profile[0].prepend(0);
        profile[1].prepend(0.3);
        for (bool meanLine : {false, true}) {
            const ProfileData result = meanLine ? Algos::gaussFilter(profile, DBL_MAX, kCutOff)
                                                : Algos::gaussFilter(profile, kCutOff, kShortCutOff);
            QVERIFY(!result.isEmpty());
            for (double h : result[1])
                QVERIFY(std::isfinite(h));
        }
    }

    // Rows of the trace list filter on several threads at once.
    void filtersRunConcurrently()
    {
        QVector<ProfileData> profiles;
        for (int i = 0; i < 16; ++i)
            profiles.append(sampled(3000 + 100 * i, 0.5, [i](double x) { return std::sin(x / (20 + i)); }));
        QVector<ProfileData> alone;
        for (const ProfileData& p : profiles)
            alone.append(roughness(p));

        const QVector<ProfileData> together = QtConcurrent::blockingMapped<QVector<ProfileData>>(profiles, roughness);
        for (int i = 0; i < profiles.size(); ++i)
            QCOMPARE(together[i], alone[i]);
    }
};

KALVORA_TEST_MAIN(GaussFilterTest)
#include "GaussFilterTest.moc"
