#pragma once

#include <QFuture>
#include <QObject>
#include <QString>

#include <atomic>

class AbstractTrace;
class QThreadPool;

// Fills one trace from one source on a pool thread: prepares the trace,
// reads, runs the trace's post-processing and processing, and reports the
// progress by signals emitted on that thread.
//
// The provider keeps its task: a second start while a read runs is refused,
// and stop() (called by the destructor) asks the read to end and waits for
// it. A subclass whose readData() uses its own members calls stop() in its
// own destructor, before those members go.
class DataProvider : public QObject
{
    Q_OBJECT

public:
    explicit DataProvider(QString name);
    ~DataProvider() override;

    // The source: the file path of a file, the port name of a recording.
    QString name() const { return m_name; }
    // What the last readData() returned; false until then.
    bool result() const { return m_result; }
    AbstractTrace* trace() const { return m_trace; }
    // Whether the source is a live recording of the instrument.
    virtual bool isRecording() const { return false; }

    // Starts reading into `trace` and returns at once. Refused (false) for a
    // null trace and while a read of this provider runs.
    bool start(AbstractTrace* trace);
    bool isRunning() const;
    // Asks a running read to end and waits until its task has finished.
    void stop();

signals:
    void dataReadStarted();
    void dataBatchReady(int from, int count);
    void dataReadFinished();
    void dataReadError(QString s);
    void dataReset();

protected:
    // Makes the trace ready for this source.
    virtual void prepareTrace() = 0;
    // Reads the whole source into the trace; false when it could not be read.
    virtual bool readData();
    // The pool the read task runs on; Qt's global pool unless overridden.
    virtual QThreadPool* threadPool() const;
    // Set by stop(): a long read should end soon.
    bool isStopRequested() const { return m_stopRequested; }

    void run();

private:
    QString m_name;
    std::atomic<bool> m_result{false};
    AbstractTrace* m_trace = nullptr;
    std::atomic<bool> m_stopRequested{false};
    QFuture<void> m_task;
};
