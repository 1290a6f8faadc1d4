#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// What the first line of a file says about the trace in it. The file data
// provider chooses its reader by it and the main window the trace class, so
// both read the line by this one rule: the first line as the trace readers
// see it (byte-order mark skipped, LF and CR removed), with every
// "trace_type:" removed, compared exactly with the type words.
class TraceFileType
{
public:
    enum class Format { ProfileText, ContourText, Other };

    // The first line with line ends and "trace_type:" removed; an empty text
    // for an empty file. False when the file cannot be opened.
    static bool readFirstLineWord(const QString& path, QByteArray& word);
    static QByteArray firstLineWord(QIODevice& device);

    // How the file data provider reads a file whose first line holds `word`.
    static Format formatOfWord(const QByteArray& word);

    // The trace type (E_ANALISIS_TYPE) a type word names: "PROFILE" 2,
    // "ADDITIONAL_TRACE" 3, "CNTPROF" 1, any other text 0 (contour).
    static int typeOfWord(const QString& word);

    // The trace type of the file's first line; 0 for an unrecognised line
    // or a file that cannot be read.
    static int typeOfFile(const QString& path);

    // The word the text format writes for a trace type.
    static QString wordOfType(int type);
};
