#include "ContourPacketHandler.h"

#include "ContourStatusMachine.h"
#include "DeviceCommands.h"

void ContourPacketHandler::reset()
{
    m_lastAlarm = kNoByteSeen;
    m_lastStatus = kNoByteSeen;
    m_recordingAllowed = false;
    m_pointFilter.reset();
    m_demoCycle.reset();
}

void ContourPacketHandler::handlePacket(const ContourPacket& packet, bool demo, DeviceActions& out)
{
    if (ContourStatusMachine::isCalibrationEnd(packet.alarm, packet.status))
        out.push_back(DeviceAction::command(DeviceCommands::kAcknowledge));
    if (demo)
        followDemoCycle(packet, out);
    else
        followStatus(packet, out);
    m_pointFilter.filter(packet, m_recordingAllowed, out);
}

void ContourPacketHandler::followStatus(const ContourPacket& packet, DeviceActions& out)
{
    const auto alarm = uint32_t(packet.alarm);
    const auto status = uint32_t(packet.status);
    if (alarm == m_lastAlarm && status == m_lastStatus)
        return;
    m_lastAlarm = alarm;
    m_lastStatus = status;
    m_recordingAllowed = ContourStatusMachine::processStatus(packet.alarm, packet.status, out);
}

void ContourPacketHandler::followDemoCycle(const ContourPacket& packet, DeviceActions& out)
{
    m_demoCycle.demoStep(packet, m_recordingAllowed, out);
    if (uint32_t(packet.alarm) != m_lastAlarm)
        m_demoCycle.demoAlarmChanged(packet.alarm, out);
    m_lastAlarm = uint32_t(packet.alarm);
    m_lastStatus = uint32_t(packet.status);
}
