#pragma once

#include <QHash>
#include <QString>

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
// bounds: nothing is created or reserved past what the file holds.
class TraceFileParser
{
public:
    enum class Result {
        Read,
        // The header names a trace type of the other trace class; the trace
        // is left untouched.
        WrongTraceClass,
    };

    // `settings` gives the defaults of missing keys and the processing of
    // the additional traces; `onBatch` hears the main trace's batches.
    TraceFileParser(const AppSettingsData& settings, BatchedRowAppender::Handler onBatch);

    // Reads the file's text from `device` into `trace`, whose file path
    // becomes `path`. The additional traces of a profile file are created
    // and linked to the trace; they belong to whoever keeps the trace.
    Result parse(QIODevice& device, const QString& path, AbstractTrace& trace);

private:
    using Header = QHash<QString, QString>;
    struct HeaderBlock;

    HeaderBlock readHeader(ByteLineReader& reader) const;
    Header defaultHeader() const;
    // The header's values over the defaults.
    Header completedHeader(const HeaderBlock& block) const;
    void readPoints(ByteLineReader& reader, const HeaderBlock& block, AbstractTrace& trace,
                    const BatchedRowAppender::Handler& onBatch) const;
    void readContourHeader(const Header& header, ContourTrace& trace) const;
    void readProfileHeader(const Header& header, ProfileTrace& trace) const;
    void readCommonHeader(const Header& header, AbstractTrace& trace) const;
    void readAdditionalTraces(ByteLineReader& reader, int count, const QString& path, ProfileTrace& main) const;
    void addAdditionalPostProcessors(ProfileTrace& trace) const;

    AppSettingsData m_settings;
    BatchedRowAppender::Handler m_onBatch;
};
