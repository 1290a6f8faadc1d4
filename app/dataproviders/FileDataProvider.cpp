#include "FileDataProvider.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include "AppSettings.h"
#include "Binary130Reader.h"
#include "ContourConversionPointProcessor.h"
#include "ContourTrace.h"
#include "Logger.h"
#include "PlainPointsReader.h"
#include "TraceFileParser.h"
#include "TraceFileType.h"
#include "TraceTypes.h"

namespace {

const QString kCannotOpen = QStringLiteral("Can't open file ");
const QString kErrorIn = QStringLiteral("Error in ");

} // namespace

FileDataProvider::FileDataProvider(const QString& path) : DataProvider(path), m_path(path) {}

FileDataProvider::~FileDataProvider()
{
    stop();
}

void FileDataProvider::prepareTrace()
{
    trace()->setName(QFileInfo(m_path).fileName());
    trace()->clearPointProcessors();
}

bool FileDataProvider::readData()
{
    Logger::instance().log(INFO, QStringLiteral("FileDataProvider obtain data from ") + m_path);
    QFile file(m_path);
    if (!openOrReport(file))
        return false;
    const QByteArray word = TraceFileType::firstLineWord(file);
    file.close();

    switch (TraceFileType::formatOfWord(word)) {
    case TraceFileType::Format::ProfileText:
        return parseTraceFile(m_path);
    case TraceFileType::Format::ContourText:
        trace()->addPointProcessor(new ContourConversionPointProcessor);
        return parseTraceFile(m_path);
    case TraceFileType::Format::Other:
        break;
    }
    if (m_path.endsWith(QLatin1String(".130")))
        return readBinary130(m_path);
    return readPlainPoints(m_path);
}

bool FileDataProvider::parseTraceFile(const QString& path)
{
    if (!trace())
        return false;
    QFile file(path);
    if (!openOrReport(file))
        return false;
    TraceFileParser parser(AppSettings::instance().snapshot(), [this](int from, int count) { emitBatch(from, count); });
    const TraceFileParser::Result result = parser.parse(file, path, *trace());
    for (const TraceFileParser::Shortfall& shortfall : parser.shortfalls()) {
        Logger::instance().log(WARNING, QStringLiteral("Fewer %1 than announced in %2: %3 of %4")
                                            .arg(shortfall.what, path)
                                            .arg(shortfall.found)
                                            .arg(shortfall.announced));
    }
    if (result != TraceFileParser::Result::Read) {
        reportMalformed(path);
        return false;
    }
    return true;
}

bool FileDataProvider::readBinary130(const QString& path)
{
    return readContourFile(path, &Binary130Reader::read);
}

bool FileDataProvider::readPlainPoints(const QString& path)
{
    return readContourFile(path, &PlainPointsReader::read);
}

bool FileDataProvider::readContourFile(const QString& path, ContourFileReader read)
{
    auto* contour = dynamic_cast<ContourTrace*>(trace());
    if (!contour) {
        if (trace())
            reportMalformed(path);
        return false;
    }
    contour->addPointProcessor(new ContourConversionPointProcessor);
    QFile file(path);
    if (!openOrReport(file))
        return false;
    Logger::instance().log(INFO, QStringLiteral("Open file ") + path);
    contour->setType(CONTOUR);
    contour->needle_pressing = currentNeedlePressing();
    if (!read(file, *contour, [this](int from, int count) { emitBatch(from, count); })) {
        reportMalformed(path);
        return false;
    }
    file.close();
    Logger::instance().log(INFO, QStringLiteral("Close file ") + path);
    return true;
}

bool FileDataProvider::openOrReport(QFile& file)
{
    if (file.open(QIODevice::ReadOnly))
        return true;
    qDebug().noquote() << kCannotOpen + file.fileName();
    Logger::instance().log(ERROR, kCannotOpen + file.fileName());
    emit dataReadError(kCannotOpen);
    return false;
}

void FileDataProvider::reportMalformed(const QString& path)
{
    Logger::instance().log(ERROR, kErrorIn + path);
    emit dataReadError(kErrorIn + path);
}

int FileDataProvider::currentNeedlePressing()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    return settings.movement.needle_pressing;
}

void FileDataProvider::emitBatch(int from, int count)
{
    emit dataBatchReady(from, count);
}
