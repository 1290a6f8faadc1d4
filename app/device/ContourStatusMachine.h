#pragma once

#include "DeviceAction.h"

#include <QString>

// What the contour controller's alarm and status bytes mean to the host: the
// signals that start, stop and prepare traces, report a crash and follow the
// progress of the calibration and of the search of the maximum.
class ContourStatusMachine
{
public:
    // Appends the reaction to a changed (alarm, status) pair; returns whether
    // the packets that follow become trace points.
    static bool processStatus(int alarm, int status, DeviceActions& out);

    // The name of a step of the calibration cycle (alarm 10) by status.
    static QString calibrationStepText(int status);

    // The controller reports the end of its calibration with status 109 and
    // alarm 10 or 110; the host acknowledges every such packet.
    static bool isCalibrationEnd(int alarm, int status);
};
