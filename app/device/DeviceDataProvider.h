#pragma once

#include "DataProvider.h"

#include <QMetaObject>

#include <atomic>

class Device;

// The source of a live recording: the trace fills point by point on the
// device's reader task while the provider's task waits for the trace to end.
// Points are announced in batches (8 for the contour controller, 1 for the
// profile controller's single points, 100 for its block transfer).
//
// A block transfer replaces the trace's points: the provider empties the
// trace on the reader task before the block's first point and then emits
// dataReset, so its receivers only redraw.
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
    void onDataReceived(double probeHight, double consoleHight, double xpos, int kBatchNotificationSize);
    void onDeviceDataReset();
    void detachFromDevice();

    Device* m_sourceDevice;
    // Touched only on the device's reader task.
    int m_rowCount = 0;
    QMetaObject::Connection m_pointConnection;
    QMetaObject::Connection m_resetConnection;
    std::atomic<bool> m_waiting{false};
    // Points that come before the trace is ready for them are dropped.
    std::atomic<bool> m_prepared{false};
};
