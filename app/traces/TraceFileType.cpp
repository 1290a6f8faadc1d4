#include "TraceFileType.h"

#include <QFile>

#include <algorithm>

#include "ByteLineReader.h"
#include "TraceTypes.h"

namespace {

const QByteArray kTypeKey = QByteArrayLiteral("trace_type:");

struct TypeWord
{
    const char* word;
    int type;
};

const TypeWord kTypeWords[] = {
    {"CONTOUR", CONTOUR},
    {"CNTPROF", CONTOUR_PROFILE},
    {"PROFILE", PROFILE},
    {"ADDITIONAL_TRACE", ADDITIONAL_TRACE},
};

constexpr int kLongestTypeWord = 16;

int typeOrContour(int type)
{
    return type < 0 ? int(CONTOUR) : type;
}

// Builds the first line's word from the pieces of the line as they arrive.
// A removal happens as soon as the word ends with the key; bytes before the
// last removal stay, so that a key is only found after the previous one, as
// a left-to-right replace finds it.
class FirstLineWordBuilder
{
public:
    // False once the word can no longer be a type word, whatever follows.
    bool add(const ByteLine& piece)
    {
        for (const char* p = piece.begin; p < piece.end; ++p) {
            if (*p == '\r')
                continue;
            m_word.append(*p);
            if (m_word.size() - m_settled >= kTypeKey.size() && m_word.endsWith(kTypeKey)) {
                m_word.chop(kTypeKey.size());
                m_settled = m_word.size();
            } else if (!canStillBeTypeWord()) {
                return false;
            }
        }
        return true;
    }

    QByteArray word() const { return m_word; }

private:
    // A key still to come can take at most the last key length - 1 bytes
    // with it; the bytes before those stay in the word.
    bool canStillBeTypeWord() const
    {
        return std::max(m_settled, m_word.size() - (kTypeKey.size() - 1)) <= kLongestTypeWord;
    }

    QByteArray m_word;
    int m_settled = 0;
};

} // namespace

QByteArray TraceFileType::firstLineWord(QIODevice& device)
{
    ByteLineReader reader(device);
    FirstLineWordBuilder builder;
    reader.readLineInPieces([&builder](const ByteLine& piece) { return builder.add(piece); });
    return builder.word();
}

int TraceFileType::typeNamedBy(const QByteArray& word)
{
    for (const TypeWord& typeWord : kTypeWords) {
        if (word == typeWord.word)
            return typeWord.type;
    }
    return -1;
}

TraceFileType::Format TraceFileType::formatOfWord(const QByteArray& word)
{
    switch (typeNamedBy(word)) {
    case PROFILE:
        return Format::ProfileText;
    case CONTOUR:
    case CONTOUR_PROFILE:
        return Format::ContourText;
    default:
        return Format::Other;
    }
}

int TraceFileType::typeOfWord(const QString& word)
{
    return typeOrContour(typeNamedBy(word.toUtf8()));
}

int TraceFileType::typeOfFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return CONTOUR;
    return typeOrContour(typeNamedBy(firstLineWord(file)));
}

QString TraceFileType::wordOfType(int type)
{
    for (const TypeWord& typeWord : kTypeWords) {
        if (typeWord.type == type)
            return QString::fromLatin1(typeWord.word);
    }
    return QStringLiteral("CONTOUR");
}
