#pragma once

#include "AppSettings.h"
#include "ContourPacketDecoder.h"
#include "ContourPacketHandler.h"
#include "DeviceAction.h"
#include "ProfileStreamDecoder.h"
#include "TraceTypes.h"

#include <QByteArray>
#include <QFuture>
#include <QMetaObject>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <QVector>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

namespace serial {
class Serial;
}

// The link to the instrument's controller. Searches a serial port on its
// timer, opens it and runs a reader task that identifies the controller,
// initialises it and decodes everything it sends into the signals below;
// keeps the link alive while no trace runs and turns the operator's actions
// into commands. When the link is lost (a failed write, a failed read) it
// emits deviceLost once; a new search (find()) starts over.
//
// Lives on the GUI thread. The reader task and the live recording's wait run
// on the link's own thread pool. Settings are read and written under the
// settings store's lock.
class Device : public QObject
{
    Q_OBJECT

public:
    static constexpr int kFirstSearchDelayMs = 1000;
    static constexpr int kSearchRetryDelayMs = 10000;
    static constexpr int kKeepAliveIntervalMs = 2000;
    static constexpr uint32_t kReadTimeoutMs = 500;
    // A port the search never probes.
    static constexpr const char* kSkippedPort = "/dev/ttyS4";

    Device();
    ~Device() override;

    bool isOpen() const;
    bool isReaderRunning() const;
    bool isTracing() const { return m_tracing; }
    QString portName() const;
    void setType(int type);

    // The write path: the bytes as they are, without terminator. True when
    // every byte went out; false while no port exists, on a time-out and on a
    // failure (a failed write closes the port and reports the link lost; a
    // write on a closed port tries to reopen it and sends nothing).
    bool sendCommand(const std::string& bytes);

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

public slots:
    void moveX(int val);
    void moveY(int val);
    void moveZ(int val);
    void autoMinMaxCalib();
    void calibration();
    void startTrace(bool trace_started);
    void startTrace() { startTrace(true); }
    void stopTrace();
    void setSpeed(int spd);
    void setFilter(int index);
    void setTraceLength(int length);
    void changePresingPower(MovementSettings::E_NEEDLE_PRESSING needle_pressing, int power_pressing);
    void changeResolutionScaling();
    void setMMPerRotation(double value);
    void find();
    void sendToTermalPrinter(QVector<QByteArray> byteArray);
    E_ANALISIS_TYPE type() const;

private:
    void initSearchTimer();
    void initKeepAliveTimer();
    void searchPort();
    std::optional<std::string> probePorts() const;
    bool openPort(const std::string& name);
    void stopReader();
    void startReader();
    void readerLoop();
    bool initConnection();
    bool identify();
    bool readParameterMarker();
    void readParameters();
    void readProfileFrames();
    void readContourPacket();
    std::string nextBytes(std::size_t wanted);
    std::string readBytes(std::size_t n);
    void perform(DeviceActions& actions);
    void keepAlive();
    void sendCommands(const std::vector<std::string>& commands);
    void reopenPort();
    void closePort();
    void onLinkFailure(const char* what);
    void reportLost();

    std::unique_ptr<serial::Serial> m_serialPort;
    std::atomic<int> m_deviceType;
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_tracing{false};
    // Whether deviceLost was emitted for the port open now.
    std::atomic<bool> m_lostReported{false};
    std::atomic<bool> m_readerActive{false};
    QFuture<void> m_readerFuture;
    QTimer m_searchTimer;
    QTimer m_keepAliveTimer;
    QThreadPool m_taskPool;

    mutable QMutex m_portNameMutex;
    std::string m_openPortName;

    QMutex m_pressingMutex;
    int m_lastPower = 0;
    int m_lastNeedlePressing = 0;

    // Held while a point or a reset is delivered to the direct receivers.
    QMutex m_deliveryMutex;

    // Bytes read ahead of the decoders, from m_receivedPos on.
    std::string m_received;
    std::size_t m_receivedPos = 0;
    ProfileStreamDecoder m_profileDecoder;
    ContourPacketDecoder m_contourDecoder;
    ContourPacketHandler m_contourHandler;
};
