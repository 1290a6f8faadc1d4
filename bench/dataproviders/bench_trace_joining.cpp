// Joining two traces whose overlap holds 100,000 points of each: 10 mm of
// overlap sampled every 0.1 µm, the right trace 150 µm higher.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <cmath>

#include "NearestPointSearch.h"
#include "PlainTrace.h"
#include "TraceJoining.h"
#include "algos/Geometry.h"

namespace {

constexpr double kStep = 0.1;
constexpr double kOverlapMm = 10;
constexpr int kPointsPerTrace = 200000;

double surface(double x)
{
    return 50 * std::sin(x / 300) + 20 * std::sin(x / 77) + 5 * std::cos(x / 13);
}

void fill(AbstractTrace& trace, double surfaceStart, double lift)
{
    for (int i = 0; i < kPointsPerTrace; ++i) {
        const double x = i * kStep;
        trace.addPoint({x, surface(surfaceStart + x) + lift});
    }
    trace.applyPostProcessors();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);

    PlainTrace left;
    PlainTrace right;
    const double rightStart = kPointsPerTrace * kStep - kOverlapMm * 1000;
    fill(left, 0, 0);
    fill(right, rightStart, 150);

    QElapsedTimer timer;
    timer.start();
    const ProfileData joined = joinTraces(&left, &right, kOverlapMm);
    const double joinSeconds = timer.nsecsElapsed() / 1e9;

    const int firstRight = joined[0].size() - kPointsPerTrace;
    out << "joining with an overlap of " << kPointsPerTrace / 2 << " points: " << joinSeconds << " s (target 1 s)\n";
    out << "  right trace shifted by x " << joined[0][firstRight] << " (expected " << rightStart << "), height "
        << joined[1][firstRight] - (surface(rightStart) + 150) << " (expected -150)\n";

    // One error measurement, sorted search against the brute force.
    const OverlapSegments segments = cutOverlapSegments(joined, joined, kOverlapMm * 1000);
    const ProfileData thinned = thinOut(segments.head, kOverlapMm * 1000);
    timer.restart();
    const NearestPointSearch search(segments.tail);
    const double fast = search.distanceSum(thinned);
    const double fastSeconds = timer.nsecsElapsed() / 1e9;
    timer.restart();
    const double brute = Algos::nearestDistanceSum(segments.tail, thinned);
    const double bruteSeconds = timer.nsecsElapsed() / 1e9;
    out << "one error measurement of " << thinned[0].size() << " against " << segments.tail[0].size()
        << " points: sorted " << fastSeconds << " s (sorting included), brute force " << bruteSeconds << " s, "
        << (fast == brute ? "same sum" : "SUMS DIFFER") << "\n";
    return fast == brute ? 0 : 1;
}
