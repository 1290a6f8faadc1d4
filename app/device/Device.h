#pragma once

#include "AppSettings.h"
#include "DevicePort.h"
#include "DeviceReader.h"
#include "ReaderHost.h"
#include "StopAnswerWatch.h"
#include "TraceTypes.h"

#include <QByteArray>
#include <QMetaObject>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <QVector>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// The link to the instrument's controller. Its port (DevicePort) is searched
// on a timer; on each port found a reader task (DeviceReader) identifies the
// controller, initialises it and decodes everything it sends into the
// signals below. The link keeps itself alive while no trace runs and turns
// the operator's actions into commands. When the link is lost (a failed
// write, a failed read) it emits deviceLost once; a new search (find())
// starts over. A profile controller that leaves the stop of a trace
// unanswered ends the trace as a lost link would, with stopUnanswered.
//
// Lives on the GUI thread. The reader task and the live recording's wait run
// on the link's own thread pool. Settings are read and written under the
// settings store's lock.
class Device : public QObject, public ReaderHost
{
    Q_OBJECT

public:
    static constexpr int kFirstSearchDelayMs = DevicePort::kFirstSearchDelayMs;
    static constexpr int kSearchRetryDelayMs = DevicePort::kSearchRetryDelayMs;
    static constexpr int kKeepAliveIntervalMs = 2000;
    // How long a profile controller may stay silent after the stop of a
    // trace before the trace ends without its block.
    static constexpr int kStopAnswerTimeoutMs = StopAnswerWatch::kTimeoutMs;
    static constexpr uint32_t kReadTimeoutMs = DevicePort::kReadTimeoutMs;
    static constexpr const char* kSkippedPort = DevicePort::kSkippedPort;

    Device();
    ~Device() override;

    bool isOpen() const;
    bool isReaderRunning() const;
    bool isTracing() const { return m_reader.isTracing(); }
    // The controller left the stop of a trace unanswered and has sent
    // nothing since.
    bool isStopUnanswered() const { return m_reader.isStopUnanswered(); }
    // The last readings of the controller (DeviceReader), for the status text.
    int consoleHeight() const { return m_reader.consoleHeight(); }
    int probeHeight() const { return m_reader.probeHeight(); }
    int xPosition() const { return m_reader.xPosition(); }
    QString portName() const;
    void setType(int type);

    // The write path: the bytes as they are, without terminator. True when
    // every byte went out; false while no port exists, on a time-out and on a
    // failure (a failed write closes the port and reports the link lost; a
    // write on a closed port tries to reopen it and sends nothing).
    bool sendCommand(const std::string& bytes) override;

    // Sends the calibration of the settings as the instrument's parameter
    // record; true only when the whole record went out.
    bool writeParameters();
    // The operator's text without its line feeds, as one command.
    void sendRaw(const QString& text);

    // The pool of the reader task and of the live recording's wait.
    QThreadPool* taskPool() { return &m_taskPool; }

    // Disconnects a receiver of dataRecieved or dataReset that was connected
    // directly. When this returns, no call of it runs and none follows.
    void detachReceiver(const QMetaObject::Connection& connection);

signals:
    void dataRecieved(double probeHight, double consoleHight, double xpos, int kBatchNotificationSize);
    // Emitted on the reader task before the first point of a block transfer,
    // which replaces the points of the trace so far.
    void dataReset();
    void deviceLost();
    void deviceOpened();
    void settingsChanged();
    void pushButtonStartTrace();
    void needCalibration();
    void pushButtonStopTrace();
    void prepareTrace();
    void openLoader();
    void setStatusProgressBar(int status, int maxValue, QString processName, QString statusName);
    void crashDevice();
    void normalStatus();
    void setNewMaximum(int consoleHight);
    void setBarValue(int cosoleHigh);
    void deleteAllTrace();
    void newDeviceType(int type);
    void rowDataFromDevice(QString data);
    // The trace has ended without the controller's answer to its stop.
    void stopUnanswered();

public slots:
    void moveX(int val);
    void moveY(int val);
    void moveZ(int val);
    void autoMinMaxCalib();
    void calibration();
    void startTrace(bool trace_started);
    void startTrace() { startTrace(true); }
    void stopTrace();
    void setSpeed(int spd) override;
    void setFilter(int index) override;
    void setTraceLength(int length) override;
    void changePresingPower(MovementSettings::E_NEEDLE_PRESSING needle_pressing, int power_pressing) override;
    void changeResolutionScaling();
    void setMMPerRotation(double value);
    void find();
    void sendToTermalPrinter(QVector<QByteArray> byteArray);
    E_ANALISIS_TYPE type() const;

private:
    void forwardReaderSignals();
    void onPortFound();
    bool wantsRawData() const override;
    void onReadFailure() override;
    void keepAlive();
    void sendCommands(const std::vector<std::string>& commands);
    void reportLost();

    QThreadPool m_taskPool;
    DevicePort m_port;
    DeviceReader m_reader;
    QTimer m_keepAliveTimer;
    // Whether deviceLost was emitted for the port open now.
    std::atomic<bool> m_lostReported{false};

    QMutex m_pressingMutex;
    int m_lastPower = 0;
    int m_lastNeedlePressing = 0;
};
