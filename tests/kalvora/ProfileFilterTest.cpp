#include <QtTest>

#include <cmath>
#include <vector>

#include "FuzzyCompare.h"
#include "KalvoraLibrary.h"
#include "TestMain.h"

// Gaussian filtering into roughness and mean line, and removal of a parabola.
class ProfileFilterTest : public QObject
{
    Q_OBJECT

private:
    struct Filtered
    {
        std::vector<double> roughness;
        std::vector<double> meanLine;
    };

    KalvoraLibrary library;

    Filtered filter(std::vector<double> z, double step, double lambdaS, double lambdaC)
    {
        int n = static_cast<int>(z.size());
        std::vector<double> meanLine(z.size(), 0.0);
        library.filterLine(z.data(), &step, &n, meanLine.data(), lambdaS, lambdaC);
        return {z, meanLine};
    }

    static std::vector<double> sine(int n, double step, double amplitude, double wavelength)
    {
        std::vector<double> z(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            z[static_cast<std::size_t>(i)] = amplitude * std::sin(2 * M_PI * i * step / wavelength);
        return z;
    }

    static double peakIn(const std::vector<double>& values, int from, int to)
    {
        double peak = 0;
        for (int i = from; i < to; ++i)
            peak = std::max(peak, std::fabs(values[static_cast<std::size_t>(i)]));
        return peak;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(library.isComplete(), qPrintable(library.error()));
    }

    void constantProfileHasNoRoughness_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("step");
        QTest::addColumn<double>("lambdaS");
        QTest::addColumn<double>("lambdaC");

        QTest::newRow("fine sampling") << 2000 << 0.5 << 2.5 << 80.0;
        QTest::newRow("coarse mean line") << 480 << 0.5 << 8.0 << 800.0;
        QTest::newRow("two mean-line points") << 40 << 1.0 << 2.5 << 400.0;
    }

    void constantProfileHasNoRoughness()
    {
        QFETCH(int, count);
        QFETCH(double, step);
        QFETCH(double, lambdaS);
        QFETCH(double, lambdaC);

        const Filtered out = filter(std::vector<double>(static_cast<std::size_t>(count), 7.25), step, lambdaS, lambdaC);
        for (int i = 0; i < count; ++i) {
            KALVORA_COMPARE_NEAR_AT(out.roughness[static_cast<std::size_t>(i)], 0, 1e-12, QString::number(i));
            KALVORA_COMPARE_NEAR(out.meanLine[static_cast<std::size_t>(i)], 7.25, 1e-12);
        }
    }

    // The Gaussian filter passes exp(-ln 2 (lambdaC / wavelength)^2) of a
    // sine into the mean line: half at the cut-off.
    void sineIsSplitByTheCutOff_data()
    {
        QTest::addColumn<double>("wavelength");

        QTest::newRow("at the cut-off") << 80.0;
        QTest::newRow("three times longer") << 240.0;
        QTest::newRow("three times shorter") << 80.0 / 3;
    }

    void sineIsSplitByTheCutOff()
    {
        QFETCH(double, wavelength);
        const double lambdaC = 80, step = 0.1, amplitude = 2.0;
        const int n = 9600;

        const Filtered out = filter(sine(n, step, amplitude, wavelength), step, 0.25, lambdaC);

        const double passed = std::exp(-std::log(2.0) * std::pow(lambdaC / wavelength, 2));
        const int from = 1000, to = n - 1000; // clear of the ends, where the window is cut
        KALVORA_COMPARE_NEAR(peakIn(out.meanLine, from, to), amplitude * passed, 0.02 * amplitude);
        KALVORA_COMPARE_NEAR(peakIn(out.roughness, from, to), amplitude * (1 - passed), 0.02 * amplitude);
    }

    void meanLineIsOptional()
    {
        const std::vector<double> z = sine(600, 0.5, 1.0, 30.0);
        std::vector<double> alone = z;
        double step = 0.5;
        int n = 600;
        library.filterLine(alone.data(), &step, &n, nullptr, 2.5, 80.0);

        QVERIFY(alone == filter(z, 0.5, 2.5, 80.0).roughness);
        QCOMPARE(step, 0.5);
        QCOMPARE(n, 600);
    }

    // lambdaS = 8 at step 0.5: two sub-samples per step (k = 2) and 23
    // weights, so a unit impulse spreads over 11 samples on each side.
    void impulseShowsTheSmoothingWindow()
    {
        const int n = 101, centre = 50;
        std::vector<double> z(n, 0.0);
        z[centre] = 1.0;

        const Filtered out = filter(z, 0.5, 8.0, 80.0);
        auto smoothed = [&out](int i) { return out.roughness[i] + out.meanLine[i]; };

        const int k = 2, m = 23;
        auto w = [](int j) { return std::exp(-std::pow(3.77344 * j * (0.5 / k) / 8.0, 2)); };
        double total = w(0);
        for (int j = 1; j < m; ++j)
            total += 2 * w(j);

        KALVORA_COMPARE_NEAR(smoothed(centre), (w(0) + w(1)) / total, 1e-12);
        KALVORA_COMPARE_NEAR(smoothed(centre - 11), (w(22) + 0.5 * w(21)) / total, 1e-12);
        KALVORA_COMPARE_NEAR(smoothed(centre + 11), (w(22) + 0.5 * w(21)) / total, 1e-12);
        KALVORA_COMPARE_NEAR(smoothed(centre - 12), 0, 1e-15);
        KALVORA_COMPARE_NEAR(smoothed(centre + 12), 0, 1e-15);
    }

    // lambdaC = 800 at step 0.5: a mean-line point every 80 samples (D = 80),
    // joined by straight lines and continued straight past the last one.
    void meanLineIsLinearBetweenEveryEightiethSample()
    {
        const int n = 520;
        std::vector<double> z(n);
        for (int i = 0; i < n; ++i)
            z[i] = std::sin(i * 0.013) + 0.4 * std::sin(i * 0.071) + 0.001 * i * i / n;

        const Filtered out = filter(z, 0.5, 2.5, 800.0);

        double largestBend = 0;
        for (int i = 1; i + 1 < n; ++i) {
            const double bend = out.meanLine[i + 1] - 2 * out.meanLine[i] + out.meanLine[i - 1];
            if (i % 80 == 0 && i < 400)
                largestBend = std::max(largestBend, std::fabs(bend));
            else
                KALVORA_COMPARE_NEAR_AT(bend, 0, 1e-12, QString::number(i));
        }
        QVERIFY(largestBend > 1e-6);
    }

    void excludeRoundRemovesAParabola_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("p2");
        QTest::addColumn<double>("p1");
        QTest::addColumn<double>("p0");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");

        QTest::newRow("three points") << 3 << 0.5 << -1.0 << 2.0 << 1.0 << 1.0;
        QTest::newRow("four points, off-centre vertex") << 4 << -2.0 << 3.0 << 1.0 << 1.0 << 1.0;
        QTest::newRow("odd count") << 101 << 3e-4 << -0.02 << 5.0 << 0.5 << 2.0;
        QTest::newRow("even count") << 100 << -1.5e-3 << 0.1 << -3.0 << 2.0 << 0.25;
        QTest::newRow("long trace") << 20000 << 2e-7 << -4e-3 << 10.0 << 1.0 << 0.5;
    }

    void excludeRoundRemovesAParabola()
    {
        QFETCH(int, count);
        QFETCH(double, p2);
        QFETCH(double, p1);
        QFETCH(double, p0);
        QFETCH(double, a);
        QFETCH(double, b);

        std::vector<double> z(static_cast<std::size_t>(count));
        double scale = 0;
        for (int i = 0; i < count; ++i) {
            z[i] = p2 * i * i + p1 * i + p0;
            scale = std::max(scale, std::fabs(z[i]));
        }

        const double radius = library.excludeRound(z.data(), a, b, count);

        for (double residual : z)
            KALVORA_COMPARE_NEAR(residual, 0, 1e-9 * scale);
        const double expected = 1.0 / (std::fabs(p2 * a / b / b) * 0.001);
        KALVORA_COMPARE_NEAR(radius, expected, 1e-9 * expected);
    }

    void excludeRoundFindsNoRadiusWithoutCurvature_data()
    {
        QTest::addColumn<double>("slope");
        QTest::addColumn<double>("offset");

        QTest::newRow("constant") << 0.0 << 4.5;
        QTest::newRow("straight line") << 0.03 << -1.0;
    }

    void excludeRoundFindsNoRadiusWithoutCurvature()
    {
        QFETCH(double, slope);
        QFETCH(double, offset);
        std::vector<double> z(50);
        for (int i = 0; i < 50; ++i)
            z[i] = slope * i + offset;

        QCOMPARE(library.excludeRound(z.data(), 1.0, 1.0, 50), -1e-9);
        for (double residual : z)
            KALVORA_COMPARE_NEAR(residual, 0, 1e-12);
    }
};

KALVORA_TEST_MAIN(ProfileFilterTest)
#include "ProfileFilterTest.moc"
