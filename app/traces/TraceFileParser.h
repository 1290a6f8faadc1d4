#pragma once

#include <QHash>
#include <QString>
#include <QVector>

#include "AppSettings.h"
#include "BatchedRowAppender.h"

class AbstractTrace;
class ByteLineReader;
class ContourTrace;
class ProfileTrace;
class QIODevice;

// Reads the trace text format into a trace (see TraceFileWriter.h).
//
// A header is the run of "key:value" lines up to the "point_count:" line,
// or up to the first line without ':' when a file has no "point_count:";
// such a line is then the first point line. Keys missing from a header take
// their defaults from the settings. Counts in the file are only upper
// bounds: nothing is created or reserved past what the file holds, and what
// a truncated file lacks is listed in shortfalls(). A point value that is no
// number ends the read; the rows before its line stay.
class TraceFileParser
{
public:
    enum class Result {
        Read,
        // The header names a trace type of the other trace class; the trace
        // is left untouched.
        WrongTraceClass,
        // A point line holds something else than a number where one of the
        // point's values stands.
        MalformedNumber,
    };

    // Something the file announced more of than it holds.
    struct Shortfall
    {
        // "points", "points of additional trace 2" or "additional traces".
        QString what;
        int announced;
        int found;
    };

    // `settings` gives the defaults of missing keys and the processing of
    // the additional traces; `onBatch` hears the main trace's batches.
    TraceFileParser(const AppSettingsData& settings, BatchedRowAppender::Handler onBatch);

    // Reads the file's text from `device` into `trace`, whose file path
    // becomes `path`. The additional traces of a profile file are created
    // and linked to the trace; they belong to whoever keeps the trace.
    Result parse(QIODevice& device, const QString& path, AbstractTrace& trace);
    // What the last parse found missing, in the order of the file.
    const QVector<Shortfall>& shortfalls() const { return m_shortfalls; }

private:
    using Header = QHash<QString, QString>;
    struct HeaderBlock;

    HeaderBlock readHeader(ByteLineReader& reader) const;
    Header defaultHeader() const;
    // The header's values over the defaults.
    Header completedHeader(const HeaderBlock& block) const;
    // False at a malformed number.
    bool readPoints(ByteLineReader& reader, const HeaderBlock& block, AbstractTrace& trace,
                    const BatchedRowAppender::Handler& onBatch, const QString& what);
    void readContourHeader(const Header& header, ContourTrace& trace) const;
    void readProfileHeader(const Header& header, ProfileTrace& trace) const;
    void readCommonHeader(const Header& header, AbstractTrace& trace) const;
    bool readAdditionalTraces(ByteLineReader& reader, int count, const QString& path, ProfileTrace& main);
    void addAdditionalPostProcessors(ProfileTrace& trace) const;

    AppSettingsData m_settings;
    BatchedRowAppender::Handler m_onBatch;
    QVector<Shortfall> m_shortfalls;
};
