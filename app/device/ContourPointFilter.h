#pragma once

#include "ContourPacket.h"
#include "DeviceAction.h"

// Decides whether a contour packet becomes a trace point. Every packet moves
// the console bar; a point needs recording to be allowed, a probe height of
// at most kMaxProbeHeight, a console height of at least kMinConsoleHeight and
// a stage position between the previous packet's and kMaxXPosition.
class ContourPointFilter
{
public:
    static constexpr int32_t kMaxProbeHeight = 2000000;
    static constexpr int32_t kMinConsoleHeight = 10;
    static constexpr int32_t kMaxXPosition = 2000000;
    static constexpr int kPointBatch = 8;

    void reset() { m_previousX = 0; }

    void filter(const ContourPacket& packet, bool recordingAllowed, DeviceActions& out);

    // The stage position of the previous packet, whether or not it gave a point.
    int32_t previousX() const { return m_previousX; }

private:
    bool isPoint(const ContourPacket& packet) const;

    int32_t m_previousX = 0;
};
