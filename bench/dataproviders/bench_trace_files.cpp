// Reading and writing 1,000,000-point trace files: the text format (profile
// and contour traces, the contour one with the point conversion the provider
// installs), a ".130" file and a plain number file.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtEndian>

#include <cmath>
#include <functional>
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

void parse(const QString& path, AbstractTrace& trace)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    TraceFileParser(AppSettings::instance().snapshot(), [](int, int) {}).parse(file, path, trace);
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

    ProfileTrace profileRead;
    const double profileParse = seconds([&] { parse(profilePath, profileRead); });
    ContourTrace contourRead;
    contourRead.addPointProcessor(new ContourConversionPointProcessor);
    const double contourParse = seconds([&] { parse(contourPath, contourRead); });
    out << "text read, " << kPoints << " points (target 0.5 s): profile " << profileParse << " s (" << rows(profileRead)
        << " rows), contour with conversion " << contourParse << " s (" << rows(contourRead) << " rows)\n";

    writeBytes(binaryPath, binary130());
    const auto readBinary = [&binaryPath](ContourTrace& trace) {
        QFile file(binaryPath);
        file.open(QIODevice::ReadOnly);
        Binary130Reader::read(file, trace, [](int, int) {});
    };
    ContourTrace binaryRead;
    binaryRead.addPointProcessor(new ContourConversionPointProcessor);
    const double binarySeconds = seconds([&] { readBinary(binaryRead); });
    ContourTrace binaryBare;
    const double binaryBareSeconds = seconds([&] { readBinary(binaryBare); });
    out << ".130 read, " << kPoints << " samples (target 0.1 s): with conversion " << binarySeconds
        << " s, without " << binaryBareSeconds << " s (" << rows(binaryRead) << " rows)\n";

    QByteArray plain;
    for (int i = 0; i < kPoints; ++i)
        plain += QByteArray::number(i * 0.5) + ' ' + QByteArray::number(std::sin(i * 0.001) * 100, 'g', 6) + '\n';
    writeBytes(plainPath, plain);
    ContourTrace plainRead;
    plainRead.addPointProcessor(new ContourConversionPointProcessor);
    const double plainSeconds = seconds([&] {
        QFile file(plainPath);
        file.open(QIODevice::ReadOnly);
        PlainPointsReader::read(file, plainRead, [](int, int) {});
    });
    out << "plain read, " << kPoints << " points with conversion: " << plainSeconds << " s (" << rows(plainRead)
        << " rows)\n";
    return written ? 0 : 1;
}
