#include "TraceFileType.h"

#include <QBuffer>
#include <QFile>

#include "ByteLineReader.h"
#include "TraceTypes.h"

namespace {

// A type line is short; a longer first line (a binary file without line
// ends) cannot match a type word, so no more of it is read.
constexpr qint64 kFirstLinePrefix = 4096;

} // namespace

bool TraceFileType::readFirstLineWord(const QString& path, QByteArray& word)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    word = firstLineWord(file);
    return true;
}

QByteArray TraceFileType::firstLineWord(QIODevice& device)
{
    QByteArray prefix = device.read(kFirstLinePrefix);
    QBuffer buffer(&prefix);
    buffer.open(QIODevice::ReadOnly);
    ByteLineReader reader(buffer);
    ByteLine line;
    if (!reader.readLine(line))
        return {};
    QByteArray word = line.toByteArray();
    word.replace('\r', QByteArray());
    word.replace("trace_type:", QByteArray());
    return word;
}

TraceFileType::Format TraceFileType::formatOfWord(const QByteArray& word)
{
    if (word == "PROFILE")
        return Format::ProfileText;
    if (word == "CONTOUR" || word == "CNTPROF")
        return Format::ContourText;
    return Format::Other;
}

int TraceFileType::typeOfWord(const QString& word)
{
    if (word == QLatin1String("PROFILE"))
        return PROFILE;
    if (word == QLatin1String("ADDITIONAL_TRACE"))
        return ADDITIONAL_TRACE;
    if (word == QLatin1String("CNTPROF"))
        return CONTOUR_PROFILE;
    return CONTOUR;
}

int TraceFileType::typeOfFile(const QString& path)
{
    QByteArray word;
    if (!readFirstLineWord(path, word))
        return CONTOUR;
    return typeOfWord(QString::fromUtf8(word));
}

QString TraceFileType::wordOfType(int type)
{
    switch (type) {
    case CONTOUR_PROFILE:
        return QStringLiteral("CNTPROF");
    case PROFILE:
        return QStringLiteral("PROFILE");
    case ADDITIONAL_TRACE:
        return QStringLiteral("ADDITIONAL_TRACE");
    default:
        return QStringLiteral("CONTOUR");
    }
}
