#pragma once

#include <QString>

#include "BatchedRowAppender.h"
#include "DataProvider.h"

class QFile;
class QIODevice;

// Fills a trace from a file: the trace text format, when the first line
// names a contour or profile trace type, otherwise a ".130" binary file
// (by its name) or a plain number file. Contour points get the contour
// point conversion with the calibration current at reading time.
//
// Failures are logged at ERROR and reported by dataReadError: "Can't open
// file " for a file that cannot be opened, "Error in " and the path for a
// file that cannot be read as its format (a malformed number ends the read,
// the rows before it stay), or whose trace type names the other trace class
// than the trace given to start(). A text file that holds fewer points or
// additional traces than it announces is read as far as it goes, with a
// WARNING naming the path and both counts.
class FileDataProvider : public DataProvider
{
public:
    explicit FileDataProvider(const QString& path);
    ~FileDataProvider() override;

    QString path() const { return m_path; }

    // The three readers, each on the trace given to start().
    bool parseTraceFile(const QString& path);
    bool readBinary130(const QString& path);
    bool readPlainPoints(const QString& path);

protected:
    void prepareTrace() override;
    bool readData() override;

private:
    bool openOrReport(QFile& file);
    void reportMalformed(const QString& path);
    using ContourFileReader = bool (*)(QIODevice&, AbstractTrace&, const BatchedRowAppender::Handler&);
    // A ".130" or plain file, read into a contour trace only (another trace
    // class is reported as an error in the file).
    bool readContourFile(const QString& path, ContourFileReader read);
    static int currentNeedlePressing();
    void emitBatch(int from, int count);

    QString m_path;
};
