// Times the Gaussian profile filter on a 1,000,000-point profile and compares
// it with a straightforward spatial convolution of the same profile.

#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

#include "GaussFilter.h"
#include "SyntheticProfile.h"

namespace {

constexpr int kPoints = 1000000;
constexpr double kStep = 0.5;
constexpr double kCutOff = 800;

ProfileData tiltedRoughProfile()
{
    return syntheticProfile(kPoints, kStep, 0.05,
                            [](double x) { return 0.001 * x + 0.8 * std::sin(x / 37) + 2 * std::sin(x / 900); });
}

// The mean line as a direct weighted sum: the Gaussian weighting function,
// cut at one cut-off either side and normalised, over each point's neighbours.
QVector<double> spatialMeanLine(const ProfileData& profile, double cutOff)
{
    const double width = 0.4697 * cutOff;
    const int half = int(cutOff / kStep);
    std::vector<double> weights(2 * half + 1);
    double total = 0;
    for (int k = -half; k <= half; ++k) {
        const double u = k * kStep / width;
        weights[k + half] = std::exp(-M_PI * u * u);
        total += weights[k + half];
    }
    for (double& w : weights)
        w /= total;

    const int n = profile[1].size();
    const double* y = profile[1].constData();
    QVector<double> mean(n, 0.0);
    for (int i = half; i < n - half; ++i) {
        double sum = 0;
        for (int k = 0; k <= 2 * half; ++k)
            sum += weights[k] * y[i - half + k];
        mean[i] = sum;
    }
    return mean;
}

template <typename Run>
double bestOfMs(int runs, const Run& run)
{
    double best = 1e300;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main()
{
    QTextStream out(stdout);
    const ProfileData profile = tiltedRoughProfile();

    ProfileData roughness;
    const double roughnessMs
        = bestOfMs(5, [&] { roughness = Algos::gaussFilter(profile, kCutOff, kCutOff / 300); });
    ProfileData meanLine;
    const double meanLineMs = bestOfMs(5, [&] { meanLine = Algos::gaussFilter(profile, DBL_MAX, kCutOff); });

    QVector<double> spatial;
    const double spatialMs = bestOfMs(1, [&] { spatial = spatialMeanLine(profile, kCutOff); });

    // Both mean lines agree away from the ends, where the convolution has all its neighbours.
    const int firstKept = int((profile[0].first() + kCutOff / 2) / kStep + 0.5);
    const int trimmedFirst = int(kCutOff / kStep);
    double largestDifference = 0;
    for (int i = 0; i < meanLine[0].size(); ++i) {
        const int at = firstKept + i;
        if (at < trimmedFirst || at >= kPoints - trimmedFirst)
            continue;
        largestDifference = std::max(largestDifference, std::abs(meanLine[1][i] - spatial[at]));
    }

    out << "gaussFilter, " << kPoints << " points, step " << kStep << " um, cut-off " << kCutOff << " um\n";
    out << "  roughness band:      " << QString::number(roughnessMs, 'f', 1) << " ms (" << roughness[0].size()
        << " points kept)\n";
    out << "  mean line:           " << QString::number(meanLineMs, 'f', 1) << " ms\n";
    out << "  spatial convolution: " << QString::number(spatialMs, 'f', 1) << " ms ("
        << (2 * int(kCutOff / kStep) + 1) << " weights)\n";
    out << "  convolution / filter: " << QString::number(spatialMs / meanLineMs, 'f', 1) << "x\n";
    out << "  largest difference of the two mean lines: " << QString::number(largestDifference, 'g', 3)
        << " um\n";
    return 0;
}
