#pragma once

#include "ContourPacket.h"
#include "ContourPointFilter.h"
#include "DemoCycle.h"
#include "DeviceAction.h"

#include <cstdint>

// Everything the host does with one contour packet: acknowledge the end of a
// calibration, run the status machine (or the automatic repeat cycle) when
// the alarm or status byte changed, and pass the packet through the point
// filter.
class ContourPacketHandler
{
public:
    // The state after the link's initialisation. The remembered bytes lie
    // outside their range, so the first packet always counts as a change.
    static constexpr uint32_t kNoByteSeen = 1000000;

    void reset();
    void handlePacket(const ContourPacket& packet, bool demo, DeviceActions& out);

    bool recordingAllowed() const { return m_recordingAllowed; }
    uint32_t lastAlarm() const { return m_lastAlarm; }
    uint32_t lastStatus() const { return m_lastStatus; }
    const ContourPointFilter& pointFilter() const { return m_pointFilter; }
    const DemoCycle& demoCycle() const { return m_demoCycle; }

private:
    void followStatus(const ContourPacket& packet, DeviceActions& out);
    void followDemoCycle(const ContourPacket& packet, DeviceActions& out);

    uint32_t m_lastAlarm = kNoByteSeen;
    uint32_t m_lastStatus = kNoByteSeen;
    bool m_recordingAllowed = false;
    ContourPointFilter m_pointFilter;
    DemoCycle m_demoCycle;
};
