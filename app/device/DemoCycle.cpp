#include "DemoCycle.h"

#include "DeviceCommands.h"

#include <QDebug>

#include <cstdlib>

namespace {

enum Limit { SmallestX = 0, LargestX = 1, HighestProbe = 2, LowestProbe = 3 };

QList<int> packetLimit(const ContourPacket& packet)
{
    return {packet.xPosition, packet.consoleHeight, packet.probeHeight};
}

void send(DeviceActions& out, std::string command)
{
    out.push_back(DeviceAction::command(std::move(command)));
}

} // namespace

DemoCycle::DemoCycle()
{
    reset();
}

void DemoCycle::reset()
{
    m_demoState = WaitingForStart;
    m_demoLimits = {{1000000000, 0, 0}, {0, 0, 0}, {-1000000000}, {1000000000}};
}

void DemoCycle::demoStep(const ContourPacket& packet, bool& recordingAllowed, DeviceActions& out)
{
    switch (m_demoState) {
    case WaitingForStart:
        if (packet.alarm == 2)
            startPass(recordingAllowed, out);
        break;
    case FirstPass:
        demoTrackLimits(packet);
        break;
    case Return:
        liftAndReturn(packet, out);
        break;
    case Restart:
        startPass(recordingAllowed, out);
        break;
    case RepeatedPass:
        demoFinishPass(packet, out);
        break;
    default:
        break;
    }
}

void DemoCycle::startPass(bool& recordingAllowed, DeviceActions& out)
{
    out.push_back(DeviceAction::signal(DeviceAction::PushButtonStartTrace));
    recordingAllowed = true;
    m_demoState = m_demoState == WaitingForStart ? FirstPass : RepeatedPass;
}

void DemoCycle::demoTrackLimits(const ContourPacket& packet)
{
    if (packet.xPosition < m_demoLimits[SmallestX][0])
        m_demoLimits[SmallestX] = packetLimit(packet);
    if (m_demoLimits[LargestX][0] < packet.xPosition)
        m_demoLimits[LargestX] = packetLimit(packet);
    if (m_demoLimits[HighestProbe][0] < packet.probeHeight)
        m_demoLimits[HighestProbe] = {packet.probeHeight};
    if (packet.probeHeight < m_demoLimits[LowestProbe][0])
        m_demoLimits[LowestProbe] = {packet.probeHeight};
}

void DemoCycle::liftAndReturn(const ContourPacket& packet, DeviceActions& out)
{
    // In 64 bits: before any packet of a first pass the limits span 2e9.
    const long long highest = m_demoLimits[HighestProbe][0];
    const long long span = std::llabs(highest - m_demoLimits[LowestProbe][0]);
    const double threshold = span * 0.1 + highest;
    if (packet.probeHeight < threshold) {
        send(out, DeviceCommands::moveZ(1));
        return;
    }
    send(out, DeviceCommands::moveZ(0));
    if (m_demoLimits[SmallestX][0] < packet.xPosition) {
        send(out, DeviceCommands::moveX(-1));
        return;
    }
    send(out, DeviceCommands::moveX(0));
    out.push_back(DeviceAction::signal(DeviceAction::DeleteAllTrace));
    m_demoState = Restart;
}

void DemoCycle::demoFinishPass(const ContourPacket& packet, DeviceActions& out)
{
    if (packet.xPosition < m_demoLimits[LargestX][0])
        return;
    endPass(out);
}

void DemoCycle::endPass(DeviceActions& out)
{
    send(out, DeviceCommands::kAcknowledge);
    out.push_back(DeviceAction::signal(DeviceAction::PushButtonStopTrace));
    m_demoState = Return;
}

void DemoCycle::demoAlarmChanged(int alarm, DeviceActions& out)
{
    qDebug().nospace() << "ALARM BYTE: " << alarm;
    if (alarm == 1)
        endPass(out);
    else if (alarm == 0)
        out.push_back(DeviceAction::signal(DeviceAction::NormalStatus));
    else if (alarm >= 5 && alarm <= 9)
        out.push_back(DeviceAction::signal(DeviceAction::PrepareTrace));
}
