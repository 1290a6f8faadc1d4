#pragma once

// What the instrument control panel remembers between the operator's actions
// and the controller's reports: whether a trace that the panel started runs,
// whether the controller asked for a calibration (the start button then
// calibrates instead), and whether the panel's controls are locked (by a
// trace of either origin or a long automatic operation).
class ControlPanelState
{
public:
    enum class Start {
        SettingsOnly, // only the trace settings go out
        Calibrate,    // the pending calibration is started instead of a trace
        Record,       // a trace starts: the controls are locked
    };

    // The start button (main trace) and the additional-trace button, which
    // does not look at a pending calibration.
    Start start(bool portOpen);
    Start startAdditional(bool portOpen);
    // The stop button: true when the panel's trace is to be stopped.
    bool stop(bool portOpen);
    // The controller prepares a trace or an operation of its own: true when
    // the controls are to be locked now (not while the panel's trace runs).
    bool prepare();
    // The controller has ended whatever ran (end of a trace, a crash, rest).
    void end();
    // The controller needs a calibration: as end(), and the next start calibrates.
    void requestCalibration();
    // The link is lost: true when a trace or a lock was still on, which this
    // ends as end() does, so that the panel works again once the link is back.
    bool loseLink();

    void unlock() { m_locked = false; }

    bool isRecording() const { return m_recording; }
    bool isCalibrationPending() const { return m_calibrationPending; }
    bool isLocked() const { return m_locked; }

private:
    Start record(bool portOpen);

    bool m_recording = false;
    bool m_calibrationPending = false;
    bool m_locked = false;
};
