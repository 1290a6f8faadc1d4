#include "ContourPointFilter.h"

bool ContourPointFilter::isPoint(const ContourPacket& packet) const
{
    if (packet.probeHeight > kMaxProbeHeight || packet.consoleHeight < kMinConsoleHeight)
        return false;
    return packet.xPosition >= m_previousX && packet.xPosition <= kMaxXPosition;
}

void ContourPointFilter::filter(const ContourPacket& packet, bool recordingAllowed, DeviceActions& out)
{
    out.push_back(DeviceAction::barValue(packet.consoleHeight));
    if (recordingAllowed && isPoint(packet))
        out.push_back(DeviceAction::point(packet.probeHeight, packet.consoleHeight, packet.xPosition, kPointBatch));
    m_previousX = packet.xPosition;
}
