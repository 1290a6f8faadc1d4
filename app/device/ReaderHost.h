#pragma once

#include "AppSettings.h"

#include <string>

// What the reader task asks of the link it runs for: the write path, the
// set-up commands of a new connection (which the operator can give as well,
// so they keep the link's own record and log lines), whether anyone listens
// to the raw bytes, and what to do when a read fails.
class ReaderHost
{
public:
    virtual ~ReaderHost() = default;

    // True when every byte went out.
    virtual bool sendCommand(const std::string& bytes) = 0;
    virtual void changePresingPower(MovementSettings::E_NEEDLE_PRESSING needle_pressing, int power_pressing) = 0;
    virtual void setFilter(int index) = 0;
    virtual void setTraceLength(int length) = 0;
    virtual void setSpeed(int spd) = 0;

    virtual bool wantsRawData() const = 0;
    // Called on the reader task once its port has failed; the task ends.
    virtual void onReadFailure() = 0;
};
