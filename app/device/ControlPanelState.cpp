#include "ControlPanelState.h"

ControlPanelState::Start ControlPanelState::start(bool portOpen)
{
    if (m_calibrationPending) {
        m_calibrationPending = false;
        return Start::Calibrate;
    }
    return record(portOpen);
}

ControlPanelState::Start ControlPanelState::startAdditional(bool portOpen)
{
    return record(portOpen);
}

ControlPanelState::Start ControlPanelState::record(bool portOpen)
{
    if (m_recording || !portOpen)
        return Start::SettingsOnly;
    m_recording = true;
    m_locked = true;
    return Start::Record;
}

bool ControlPanelState::stop(bool portOpen)
{
    if (!m_recording || !portOpen)
        return false;
    m_recording = false;
    return true;
}

bool ControlPanelState::prepare()
{
    if (m_recording)
        return false;
    m_locked = true;
    return true;
}

void ControlPanelState::end()
{
    m_recording = false;
    m_locked = false;
}

void ControlPanelState::requestCalibration()
{
    end();
    m_calibrationPending = true;
}

bool ControlPanelState::loseLink()
{
    if (!m_recording && !m_locked)
        return false;
    end();
    return true;
}
