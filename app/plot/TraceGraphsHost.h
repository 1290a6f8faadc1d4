#pragma once

class QWidget;

// What a trace's graph holder needs of the workspace that shows it: a parent
// for its question box, the jog keys, which must not move the instrument
// while a question is open, and the instrument panel's cut-off selector.
class TraceGraphsHost
{
public:
    virtual ~TraceGraphsHost() = default;

    virtual QWidget* questionParent() const = 0;
    // Blocks or unblocks the signals of the jog-key receiver.
    virtual void setJogKeysBlocked(bool blocked) = 0;
    // Selects the cut-off kCutOffValues[index] on the instrument panel: the
    // setting, the instrument's filter command and the panel's selector.
    virtual void selectCutOffIndex(int index) = 0;
};
