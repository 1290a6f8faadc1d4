#pragma once

#include "CalibrationField.h"

#include <QVector>

class AbstractTrace;

// Which values of the calibration panel the traces call for: the lower tip
// radius for traces taken with the needle down, the upper one for the needle
// up, the probe height and needle bias when both kinds are present, the
// roughness ratio for contour traces with profile; the instrument's values
// and the processing switches in developer mode only. Only contour traces
// count, and none when the first trace is a profile trace.
class CalibrationPanelVisibility
{
public:
    CalibrationPanelVisibility(const QVector<AbstractTrace*>& traces, bool developerMode);

    bool isShown(CalibrationField field) const;

private:
    bool m_needleDown = false;
    bool m_needleUp = false;
    bool m_withProfile = false;
    bool m_developerMode;
};
