#pragma once

#include "ContourPacket.h"
#include "DeviceAction.h"

#include <QList>

// The automatic repeat cycle of the contour controller: wait for the
// controller's start, record the extent of a first pass, then lift the probe,
// return to the smallest x, clear the traces and trace the same stretch again,
// over and over.
class DemoCycle
{
public:
    enum State { WaitingForStart = -1, FirstPass = 0, Return = 1, Restart = 2, RepeatedPass = 3 };

    DemoCycle();

    void reset();

    // Runs for every packet. Sets recordingAllowed when a pass starts; the
    // cycle never clears it.
    void demoStep(const ContourPacket& packet, bool& recordingAllowed, DeviceActions& out);
    // Runs when the alarm byte changed.
    void demoAlarmChanged(int alarm, DeviceActions& out);

    int demoState() const { return m_demoState; }
    // [x, console height, probe height] of the smallest and of the largest x
    // of the first pass, then [highest probe height] and [lowest probe height].
    const QList<QList<int>>& demoLimits() const { return m_demoLimits; }

private:
    void startPass(bool& recordingAllowed, DeviceActions& out);
    void demoTrackLimits(const ContourPacket& packet);
    void liftAndReturn(const ContourPacket& packet, DeviceActions& out);
    void demoFinishPass(const ContourPacket& packet, DeviceActions& out);
    void endPass(DeviceActions& out);

    int m_demoState = WaitingForStart;
    QList<QList<int>> m_demoLimits;
};
