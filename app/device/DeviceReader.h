#pragma once

#include "ContourPacketDecoder.h"
#include "ContourPacketHandler.h"
#include "DeviceAction.h"
#include "ProfileStreamDecoder.h"
#include "StopAnswerWatch.h"

#include <QFuture>
#include <QMetaObject>
#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

class QThreadPool;
class ReaderHost;

namespace serial {
class Serial;
}

// The reader task of the instrument link. On a port just opened it sends the
// connect command, identifies the controller, initialises it, and then reads
// everything the controller sends, through a read-ahead buffer, into the
// decoders of its family; it carries out the steps they ask for (perform)
// and emits them as its signals. It ends when asked to, or when a read fails.
//
// The controller type and the tracing flag live here: the task writes them
// from what the controller reports, the link from the operator's actions.
// So do the last readings, which the task writes and the GUI reads.
//
// A profile controller that stays silent after the stop of a trace, instead
// of ending it with its block (StopAnswerWatch), has the trace ended without
// it: tracing is cleared, as when the link is lost, and stopUnanswered
// emitted.
class DeviceReader : public QObject
{
    Q_OBJECT

public:
    // The host and the pool outlive the reader.
    DeviceReader(ReaderHost& host, QThreadPool& pool, int type);
    ~DeviceReader() override;

    // Starts the task on the port, which has to stay until stop() returns.
    void start(serial::Serial& port);
    // Asks the task to end and waits for it (within one read time-out); the
    // bytes read ahead are dropped and no trace runs any more.
    void stop();
    // Whether the task's future runs.
    bool isRunning() const;
    // Whether the task has not finished its loop yet; false once a failed
    // read has ended it.
    bool isActive() const { return m_active; }

    int type() const { return m_type; }
    void setType(int type) { m_type = type; }
    bool isTracing() const { return m_tracing; }
    // A new trace drops a wait for the answer to an earlier stop, and the
    // note that one was left unanswered.
    void setTracing(bool tracing)
    {
        if (tracing) {
            m_stopAnswer.end();
            m_stopUnanswered = false;
        }
        m_tracing = tracing;
    }
    // The stop of the trace has gone out; the controller is to end the trace.
    void waitForStopAnswer();
    // The controller left a stop unanswered and has sent nothing of a trace
    // since, nor has a new trace started.
    bool isStopUnanswered() const { return m_stopUnanswered; }

    // The last readings: the heights and the stage position of the contour
    // controller's last packet; on the profile controller the console height
    // is its last idle reading and the other two stay 0. Each is read whole;
    // the three need not come from the same packet.
    int consoleHeight() const { return m_consoleHeight; }
    int probeHeight() const { return m_probeHeight; }
    int xPosition() const { return m_xPosition; }

    // Carries out the steps in order and empties the list; on any thread.
    void perform(DeviceActions& actions);

    // Disconnects a receiver of dataRecieved or dataReset that was connected
    // directly. When this returns, no call of it runs and none follows.
    void detachReceiver(const QMetaObject::Connection& connection);

signals:
    void dataRecieved(double probeHight, double consoleHight, double xpos, int kBatchNotificationSize);
    void dataReset();
    void setBarValue(int cosoleHigh);
    void pushButtonStartTrace();
    void needCalibration();
    void pushButtonStopTrace();
    void prepareTrace();
    void openLoader();
    void setStatusProgressBar(int status, int maxValue, QString processName, QString statusName);
    void crashDevice();
    void normalStatus();
    void deleteAllTrace();
    void newDeviceType(int type);
    void rowDataFromDevice(QString data);
    void stopUnanswered();

private:
    void run();
    bool initConnection();
    bool identify();
    bool readParameterMarker();
    void readParameters();
    void readProfileFrames();
    void watchStopAnswer(bool traceHeard);
    void readContourPacket();
    std::string nextBytes(std::size_t wanted);
    std::string readBytes(std::size_t n);

    ReaderHost& m_host;
    QThreadPool& m_pool;
    serial::Serial* m_port = nullptr;
    QFuture<void> m_future;
    std::atomic<int> m_type;
    std::atomic<bool> m_tracing{false};
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_active{false};
    std::atomic<bool> m_stopUnanswered{false};
    StopAnswerWatch m_stopAnswer;
    std::atomic<int32_t> m_consoleHeight{0};
    std::atomic<int32_t> m_probeHeight{0};
    std::atomic<int32_t> m_xPosition{0};

    // Held while a point or a reset is delivered to the direct receivers.
    QMutex m_deliveryMutex;

    // Bytes read ahead of the decoders, from m_receivedPos on.
    std::string m_received;
    std::size_t m_receivedPos = 0;
    ProfileStreamDecoder m_profileDecoder;
    ContourPacketDecoder m_contourDecoder;
    ContourPacketHandler m_contourHandler;
};
