// Appending 1,000,000 contour readings to a trace: the store work alone,
// then the trace's addPoint with its locking, then with the point conversion.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

#include "AppSettings.h"
#include "ContourConversionPointProcessor.h"
#include "PlainTrace.h"

namespace {

constexpr int kPoints = 1000000;
// A calibrated rack is never exactly perpendicular; at 0 the sine and cosine
// would cost next to nothing and hide the conversion's real cost.
constexpr double kRackAngle = 0.35;

QVector<double> reading(int j)
{
    return {j * 0.5, double(j % 97), 1000};
}

double bareAppendSeconds()
{
    ProfileData raw(3), processed(3), display(3);
    QElapsedTimer timer;
    timer.start();
    for (int j = 0; j < kPoints; ++j) {
        const QVector<double> point = reading(j);
        for (int i = 0; i < 3; ++i) {
            raw[i].append(point[i]);
            processed[i].append(point[i]);
            display[i].append(point[i]);
        }
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (display[0].size() != kPoints)
        return -1;
    return seconds;
}

double traceAppendSeconds(bool withConversion)
{
    PlainTrace trace(3);
    if (withConversion)
        trace.addPointProcessor(new ContourConversionPointProcessor);
    QElapsedTimer timer;
    timer.start();
    for (int j = 0; j < kPoints; ++j)
        trace.addPoint(reading(j));
    return timer.nsecsElapsed() / 1e9;
}

// The point conversion on its own, without the stores around it.
double conversionSeconds()
{
    ContourConversionPointProcessor conversion;
    QVector<double> point(3);
    double sum = 0;
    QElapsedTimer timer;
    timer.start();
    for (int j = 0; j < kPoints; ++j) {
        point = {j * 0.5, double(j % 97), 1000};
        conversion.process(point);
        sum += point[0];
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    return sum == 0 ? -1 : seconds;
}

template <typename Run>
double bestOfThree(Run run)
{
    double best = run();
    for (int k = 0; k < 2; ++k)
        best = std::min(best, run());
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    AppSettings::instance().calibration.rack_prpendicular = kRackAngle;
    const double bare = bestOfThree(bareAppendSeconds);
    const double locked = bestOfThree([] { return traceAppendSeconds(false); });
    const double converted = bestOfThree([] { return traceAppendSeconds(true); });
    const double conversion = bestOfThree(conversionSeconds);
    out << "append of " << kPoints << " points (best of three runs) to three stores of three columns\n";
    out << "  bare append:                    " << QString::number(bare, 'f', 3) << " s\n";
    out << "  addPoint (locking):             " << QString::number(locked, 'f', 3) << " s\n";
    out << "  addPoint (locking, conversion): " << QString::number(converted, 'f', 3) << " s (rack angle "
        << kRackAngle << " degrees)\n";
    out << "  point conversion alone:         " << QString::number(conversion, 'f', 3) << " s\n";
    out << "  overhead over the bare append:  " << QString::number(converted - bare, 'f', 3)
        << " s (target at most 0.300 s)\n";
    return 0;
}
