#pragma once

#include <QString>

// The texts the control panel shows in the main window's status bar about
// the instrument link.
class DeviceStatusText
{
public:
    static QString connected(const QString& port);
    static QString notFound();
    // The controller left the stop of a trace unanswered: the trace has
    // ended with the points received.
    static QString stopUnanswered(const QString& port);

    // The live readings: the profile controller (type 2) shows the console
    // height as it is; the contour controller shows x and the probe height in
    // millimetres (micrometres read) and the console height in millimetres
    // (nanometres read), 0 when it is 1000 nm or less.
    static QString readings(int deviceType, const QString& port, int consoleHeight, int probeHeight, int xPosition);
};
