#pragma once

#include <QString>

#include <string>
#include <vector>

// One step that the protocol logic asks of the instrument link: send a
// command, emit one of the link's signals, clear the tracing flag or write a
// log line. The decoders return their steps in the order they are to happen;
// the link only carries them out.
struct DeviceAction
{
    enum Kind {
        SendCommand,          // text: the command's bytes
        DataRecieved,         // probeHeight, consoleHeight, xPosition; value: batch size
        DataReset,
        SetBarValue,          // value
        PushButtonStartTrace,
        NeedCalibration,
        PushButtonStopTrace,
        PrepareTrace,
        OpenLoader,
        SetStatusProgressBar, // value: status; maxValue, processName, statusName
        CrashDevice,
        NormalStatus,
        DeleteAllTrace,
        ClearTracing,
        LogInfo,              // text: the line for the log file
    };

    Kind kind = SendCommand;
    std::string text;
    double probeHeight = 0;
    double consoleHeight = 0;
    double xPosition = 0;
    int value = 0;
    int maxValue = 0;
    QString processName;
    QString statusName;

    static DeviceAction command(std::string bytes);
    static DeviceAction signal(Kind kind);
    static DeviceAction point(double probeHeight, double consoleHeight, double xPosition, int batchSize);
    static DeviceAction barValue(int value);
    static DeviceAction progress(int status, int maxValue, const QString& processName, const QString& statusName);
    static DeviceAction logInfo(std::string line);

    bool operator==(const DeviceAction& other) const;
    bool operator!=(const DeviceAction& other) const { return !(*this == other); }

    // A readable form for diagnostics, e.g. "send CA" or "dataRecieved(2.58, 0, 0, 100)";
    // bytes outside printable ASCII are written as \xNN.
    QString toString() const;
};

using DeviceActions = std::vector<DeviceAction>;
