// The trace text reader on a 1,000,000-point profile file, side by side with
// numpy.loadtxt (numpy's C reader) on the same file in the same run; the
// target is at most half numpy's time. Both are the best of five; the
// reader's figure includes filling the trace's three stores. Without a
// python3 that imports numpy the comparison is skipped and said so.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <limits>

#include "AppSettings.h"
#include "ProfileTrace.h"
#include "TraceFileParser.h"
#include "TraceFileWriter.h"

namespace {

constexpr int kPoints = 1000000;
constexpr int kRuns = 5;

const char* const kNumpyScript = R"(
import sys, time, numpy
path, skip, runs = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
best = float('inf')
for _ in range(runs):
    start = time.perf_counter()
    data = numpy.loadtxt(path, skiprows=skip)
    best = min(best, time.perf_counter() - start)
print(best, data.shape[0])
)";

bool writeProfile(const QString& path)
{
    ProfileTrace trace;
    ProfileData rows(2);
    for (int i = 0; i < kPoints; ++i) {
        rows[0].append(i * 0.1);
        rows[1].append(12.345678 * std::sin(i * 0.001) + (i % 997 == 0 ? 0.25 : 0));
    }
    trace.addPoints(rows);
    return writeTraceFile(path, &trace);
}

// The header lines before the first point line.
int headerLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (int line = 1; !file.atEnd(); ++line) {
        if (file.readLine().startsWith("point_count:"))
            return line;
    }
    return -1;
}

double bestReaderSeconds(const QString& path, int& rows)
{
    double best = std::numeric_limits<double>::max();
    for (int run = 0; run < kRuns; ++run) {
        ProfileTrace trace;
        QFile file(path);
        QElapsedTimer timer;
        timer.start();
        if (!file.open(QIODevice::ReadOnly))
            return -1;
        TraceFileParser(AppSettings::instance().snapshot(), {}).parse(file, path, trace);
        best = std::min(best, timer.nsecsElapsed() / 1e9);
        rows = trace.lockedRawData().data->at(0).size();
    }
    return best;
}

// The first of the usual interpreters that imports numpy; empty when none.
QString pythonWithNumpy()
{
    for (const QString& python : {QStringLiteral("python3"), QStringLiteral("/usr/bin/python3")}) {
        QProcess process;
        process.start(python, {"-c", "import numpy"});
        if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
            return python;
    }
    return {};
}

// numpy's best time, or a negative number with `problem` set.
double bestNumpySeconds(const QString& python, const QString& path, int skip, int& rows, QString& problem)
{
    QProcess process;
    process.start(python, {"-c", kNumpyScript, path, QString::number(skip), QString::number(kRuns)});
    if (!process.waitForFinished(600000) || process.exitCode() != 0) {
        problem = QString::fromUtf8(process.readAllStandardError()).trimmed();
        return -1;
    }
    const QStringList fields = QString::fromUtf8(process.readAllStandardOutput()).split(' ');
    rows = fields.value(1).trimmed().toInt();
    return fields.value(0).toDouble();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString path = dir.filePath("profile.txt");
    if (!writeProfile(path)) {
        out << "WRITE FAILED\n";
        return 1;
    }

    int rows = 0;
    const double reader = bestReaderSeconds(path, rows);
    out << "text reader, " << kPoints << " point profile file: " << QString::number(reader * 1000, 'f', 1) << " ms ("
        << rows << " rows)\n";

    const QString python = pythonWithNumpy();
    if (python.isEmpty()) {
        out << "numpy.loadtxt: comparison skipped, no python3 with numpy found\n";
        return 0;
    }
    int numpyRows = 0;
    QString problem;
    const double numpy = bestNumpySeconds(python, path, headerLines(path), numpyRows, problem);
    if (numpy <= 0) {
        out << "numpy.loadtxt: comparison skipped, " << python << " failed: " << problem << "\n";
        return 0;
    }
    out << "numpy.loadtxt (" << python << "): " << QString::number(numpy * 1000, 'f', 1) << " ms (" << numpyRows
        << " rows)\n";
    out << "reader / numpy: " << QString::number(reader / numpy, 'f', 2) << " (target at most 0.50)\n";
    return 0;
}
