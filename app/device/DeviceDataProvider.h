#pragma once

#include "DataProvider.h"

#include <QMetaObject>
#include <QMutex>

#include <atomic>
#include <vector>

class Device;

// The source of a live recording: the trace fills point by point on the
// device's reader task while the provider's task waits for the trace to end.
// Points are announced in batches (8 for the contour controller, 1 for the
// profile controller's single points, 100 for its block transfer).
//
// A block transfer replaces the trace's points: the provider empties the
// trace on the reader task before the block's first point and then emits
// dataReset, so its receivers only redraw.
//
// The instrument may send points before the provider's read has begun (its
// start may wait for the read it replaces); they are kept and go into the
// trace, with their batches announced, once the read begins.
class DeviceDataProvider : public DataProvider
{
    Q_OBJECT

public:
    // The device outlives the provider.
    explicit DeviceDataProvider(Device* device);
    ~DeviceDataProvider() override;

    bool isRecording() const override { return true; }

    static constexpr unsigned long kPollIntervalMs = 500;

protected:
    void prepareTrace() override;
    // Waits until the device stops tracing; always true.
    bool readData() override;
    QThreadPool* threadPool() const override;

private:
    struct Row
    {
        double probeHight;
        double consoleHight;
        double xpos;
        int batchSize;
    };

    void onDataReceived(double probeHight, double consoleHight, double xpos, int kBatchNotificationSize);
    void onDeviceDataReset();
    void detachFromDevice();
    // Moves the rows kept so far into the prepared trace; rows arriving from
    // then on go into it directly.
    void takeEarlyRows();
    void appendRow(const Row& row);

    Device* m_sourceDevice;
    // Guards the members below, written on the reader task and the
    // provider's task.
    QMutex m_rowsMutex;
    int m_rowCount = 0;
    bool m_prepared = false;
    std::vector<Row> m_earlyRows;
    QMetaObject::Connection m_pointConnection;
    QMetaObject::Connection m_resetConnection;
    std::atomic<bool> m_waiting{false};
};
