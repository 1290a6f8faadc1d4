// Opening 1,000,000-point contour files as the program does: the file data
// provider reads the text file, converts the points and processes the trace
// (low-pass and tip radius removal with a 20 micrometre tip). x rising, x
// alternating between two positions and x on a random walk; the files whose
// x goes back and forth must take no longer than a second. Best of three,
// each into a fresh trace.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "ContourTrace.h"
#include "FileDataProvider.h"
#include "TraceFileWriter.h"

namespace {

constexpr int kPoints = 1000000;

using Position = std::function<double(int)>;

bool writeContour(const QString& path, const Position& x)
{
    ContourTrace trace;
    trace.tool_head_radius_down = 20;
    trace.tool_head_radius_up = 20;
    ProfileData rows(3);
    for (QVector<double>& column : rows)
        column.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        rows[0].append(x(i));
        rows[1].append(50 * std::sin(i * 0.01) + (i % 101 == 0 ? 5 : 0));
        rows[2].append(0.0);
    }
    trace.addPoints(rows);
    return writeTraceFile(path, &trace);
}

// Reading and processing, as the program opens a file; `rows` gets the
// number of points read.
double bestOpenSeconds(const QString& path, int& rows)
{
    double best = std::numeric_limits<double>::max();
    for (int run = 0; run < 3; ++run) {
        ContourTrace trace;
        FileDataProvider provider(path);
        QElapsedTimer timer;
        timer.start();
        provider.start(&trace);
        provider.stop();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
        rows = trace.lockedRawData().data->at(0).size();
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;

    std::mt19937_64 random(1);
    std::uniform_real_distribution<double> step(-0.5, 0.5);
    double walk = 0;
    const struct
    {
        const char* name;
        Position x;
        const char* target;
    } files[] = {
        {"x rising in steps of 0.5", [](int i) { return i * 0.5; }, ""},
        {"x alternating 0, 1, 0, 1", [](int i) { return double(i % 2); }, " (target 1 s)"},
        {"x on a random walk", [&](int) { return walk += step(random); }, " (target 1 s)"},
    };

    out << "opening a contour file of " << kPoints << " points (read, conversion, processing), best of three\n";
    for (const auto& file : files) {
        const QString path = dir.filePath("contour.txt");
        if (!writeContour(path, file.x)) {
            out << "  " << file.name << ": WRITE FAILED\n";
            return 1;
        }
        int rows = 0;
        const double seconds = bestOpenSeconds(path, rows);
        out << "  " << file.name << ": " << QString::number(seconds, 'f', 3) << " s" << file.target << ", " << rows
            << " rows\n";
        out.flush();
    }
    return 0;
}
