#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// What the first line of a file says about the trace in it. The file data
// provider chooses its reader by it and the main window the trace class, so
// both read the line by this one rule: the first line as the trace readers
// see it (see ByteLineReader), with every CR and every "trace_type:" removed,
// compared byte for byte with the type words.
class TraceFileType
{
public:
    enum class Format { ProfileText, ContourText, Other };

    // The first line's word: the line without its LF, every CR and every
    // "trace_type:" (removed from left to right, as QByteArray::replace
    // does); an empty text for an empty file. The line is read in pieces and
    // no further than it can still turn into a type word, so the word of a
    // long line may come back cut short: it is no type word either way.
    static QByteArray firstLineWord(QIODevice& device);

    // The trace type (E_ANALISIS_TYPE) that the bytes spell exactly:
    // "CONTOUR" 0, "CNTPROF" 1, "PROFILE" 2, "ADDITIONAL_TRACE" 3; -1 for any
    // other bytes.
    static int typeNamedBy(const QByteArray& word);

    // How the file data provider reads a file whose first line holds `word`.
    static Format formatOfWord(const QByteArray& word);

    // The trace type a header's type value names; any other text is 0
    // (contour).
    static int typeOfWord(const QString& word);

    // The trace type of the file's first line word; 0 for a word that names
    // no type or a file that cannot be read.
    static int typeOfFile(const QString& path);

    // The word the text format writes for a trace type.
    static QString wordOfType(int type);
};
