// Reading and writing 1,000,000-point trace files: the text format (profile
// and contour traces, the contour one with the point conversion the provider
// installs), a ".130" file and a plain number file. Reads are the best of
// three, each into a fresh trace.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtEndian>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "AppSettings.h"
#include "Binary130Reader.h"
#include "ContourConversionPointProcessor.h"
#include "ContourTrace.h"
#include "PlainPointsReader.h"
#include "ProfileTrace.h"
#include "TraceFileParser.h"
#include "TraceFileWriter.h"

namespace {

constexpr int kPoints = 1000000;

double seconds(const std::function<void()>& run)
{
    QElapsedTimer timer;
    timer.start();
    run();
    return timer.nsecsElapsed() / 1e9;
}

int rows(const AbstractTrace& trace)
{
    return trace.lockedRawData().data->at(0).size();
}

// The best of three reads, each into a fresh trace; `rowCount` gets the
// number of rows read.
template <typename Trace>
double bestReadSeconds(bool withConversion, const std::function<void(AbstractTrace&)>& read, int& rowCount)
{
    double best = std::numeric_limits<double>::max();
    for (int run = 0; run < 3; ++run) {
        Trace trace;
        if (withConversion)
            trace.addPointProcessor(new ContourConversionPointProcessor);
        best = std::min(best, seconds([&] { read(trace); }));
        rowCount = rows(trace);
    }
    return best;
}

// A reader of one file format on the file at `path`.
template <typename Reader>
std::function<void(AbstractTrace&)> fileReader(const QString& path, Reader reader)
{
    return [path, reader](AbstractTrace& trace) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        reader(file, trace);
    };
}

void fillProfile(ProfileTrace& trace)
{
    for (int i = 0; i < kPoints; ++i)
        trace.addPoint({i * 0.1, 12.345678 * std::sin(i * 0.001)});
}

void fillContour(ContourTrace& trace)
{
    for (int i = 0; i < kPoints; ++i)
        trace.addPoint({i * 0.5, 1234.5678 * std::sin(i * 0.001), 3000.0 + i % 977});
}

void parse(QIODevice& file, AbstractTrace& trace)
{
    TraceFileParser(AppSettings::instance().snapshot(), {}).parse(file, QStringLiteral("bench"), trace);
}

void readBinary(QIODevice& file, AbstractTrace& trace)
{
    Binary130Reader::read(file, trace, {});
}

void readPlain(QIODevice& file, AbstractTrace& trace)
{
    PlainPointsReader::read(file, trace, {});
}

QByteArray binary130()
{
    std::vector<char> bytes(700 + 2 * kPoints + 80, '\0');
    qToLittleEndian<qint32>(kPoints, bytes.data() + 440);
    qToLittleEndian<double>(0.25, bytes.data() + 520);
    for (int i = 0; i < kPoints; ++i)
        qToLittleEndian<qint16>(qint16(i % 30000 - 15000), bytes.data() + 700 + 2 * i);
    qToLittleEndian<double>(0.01, bytes.data() + 700 + 2 * kPoints);
    return QByteArray(bytes.data(), int(bytes.size()));
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString profilePath = dir.filePath("profile.txt");
    const QString contourPath = dir.filePath("contour.txt");
    const QString binaryPath = dir.filePath("trace.130");
    const QString plainPath = dir.filePath("points.dat");

    ProfileTrace profile;
    fillProfile(profile);
    ContourTrace contour;
    fillContour(contour);

    bool written = true;
    const double profileWrite = seconds([&] { written = writeTraceFile(profilePath, &profile) && written; });
    const double contourWrite = seconds([&] { written = writeTraceFile(contourPath, &contour) && written; });
    out << "text write, " << kPoints << " points (target 0.5 s): profile " << profileWrite << " s, contour "
        << contourWrite << " s" << (written ? "" : " WRITE FAILED") << "\n";

    int profileRows = 0;
    int contourRows = 0;
    const double profileParse = bestReadSeconds<ProfileTrace>(false, fileReader(profilePath, parse), profileRows);
    const double contourParse = bestReadSeconds<ContourTrace>(true, fileReader(contourPath, parse), contourRows);
    out << "text read, " << kPoints << " points (target 0.5 s): profile " << profileParse << " s (" << profileRows
        << " rows), contour with conversion " << contourParse << " s (" << contourRows << " rows)\n";

    writeBytes(binaryPath, binary130());
    int binaryRows = 0;
    const double binarySeconds = bestReadSeconds<ContourTrace>(true, fileReader(binaryPath, readBinary), binaryRows);
    const double binaryBareSeconds = bestReadSeconds<ContourTrace>(false, fileReader(binaryPath, readBinary), binaryRows);
    out << ".130 read, " << kPoints << " samples (target 0.1 s): with conversion " << binarySeconds
        << " s, without " << binaryBareSeconds << " s (" << binaryRows << " rows)\n";

    QByteArray plain;
    for (int i = 0; i < kPoints; ++i)
        plain += QByteArray::number(i * 0.5) + ' ' + QByteArray::number(std::sin(i * 0.001) * 100, 'g', 6) + '\n';
    writeBytes(plainPath, plain);
    int plainRows = 0;
    const double plainSeconds = bestReadSeconds<ContourTrace>(true, fileReader(plainPath, readPlain), plainRows);
    out << "plain read, " << kPoints << " lines with conversion: " << plainSeconds << " s (" << plainRows
        << " rows)\n";
    return written ? 0 : 1;
}
