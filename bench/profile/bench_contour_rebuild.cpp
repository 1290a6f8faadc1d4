// Reprocessing a 1,000,000-point contour trace, as an option change of the
// profile workspace does: the contour point conversion of every raw row, then
// the trace's own processing. The conversion takes the settings lock and
// reads the calibration once per block of rows; beside it the same with the
// lock taken for every point, as each point converted on its own does.
// Target: at most 0.2 s. A rebuild writes into the columns of the stores the
// one before replaced; the first rebuild of a trace just read has fewer of
// them and fills fresh memory, which the last line shows.

#include <QCoreApplication>

#include <cmath>
#include <cstdio>
#include <memory>

#include "../algos/Timing.h"
#include "ContourConversionPointProcessor.h"
#include "ContourTrace.h"

namespace {

constexpr int kPoints = 1000000;

// The conversion, one point after the other.
class PointByPointConversion : public ContourConversionPointProcessor
{
public:
    void processRows(ProfileData& columns, int first, int count) override
    {
        IDataSinglePointProcessor::processRows(columns, first, count);
    }
};

ProfileData contourReadings()
{
    ProfileData rows(3);
    for (QVector<double>& column : rows)
        column.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        rows[0].append(i * 0.5);
        rows[1].append(200 * std::sin(i / 3000.0) + 3 * std::sin(i / 7.0));
        rows[2].append(2500 + 100 * std::sin(i / 50000.0));
    }
    return rows;
}

QString reprocessTiming(IDataSinglePointProcessor* conversion)
{
    ContourTrace trace(contourReadings());
    trace.addPointProcessor(conversion);
    return timing([] {}, [&trace] { trace.reprocess(); });
}

// The first rebuild of a trace as a read leaves it, each run on a new trace.
QString firstReprocessTiming()
{
    const ProfileData readings = contourReadings();
    std::unique_ptr<ContourTrace> trace;
    return timing(
        [&] {
            trace.reset();
            trace = std::make_unique<ContourTrace>(readings);
            trace->addPointProcessor(new ContourConversionPointProcessor);
            trace->applyPostProcessors();
            trace->processData();
        },
        [&] { trace->reprocess(); }, 3);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::printf("reprocess a %d-point contour trace with its conversion (target at most 200 ms)\n", kPoints);
    std::printf("  calibration read once per block:  %s\n", qPrintable(reprocessTiming(new ContourConversionPointProcessor)));
    std::printf("  settings lock taken at every point: %s\n", qPrintable(reprocessTiming(new PointByPointConversion)));
    std::printf("  first rebuild after the read:       %s\n", qPrintable(firstReprocessTiming()));
    return 0;
}
