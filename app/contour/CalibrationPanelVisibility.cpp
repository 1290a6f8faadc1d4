#include "CalibrationPanelVisibility.h"

#include "ContourTrace.h"
#include "TraceTypes.h"

CalibrationPanelVisibility::CalibrationPanelVisibility(const QVector<AbstractTrace*>& traces, bool developerMode)
    : m_developerMode(developerMode)
{
    if (traces.isEmpty() || traces.first()->type == PROFILE)
        return;
    for (const AbstractTrace* trace : traces) {
        const auto* contour = dynamic_cast<const ContourTrace*>(trace);
        if (!contour)
            continue;
        if (contour->needle_pressing == MovementSettings::NEEDLE_DOWN)
            m_needleDown = true;
        else
            m_needleUp = true;
        if (contour->type == CONTOUR_PROFILE)
            m_withProfile = true;
    }
}

bool CalibrationPanelVisibility::isShown(CalibrationField field) const
{
    switch (field) {
    case CalibrationField::ToolHeadRadiusDown:
        return m_needleDown;
    case CalibrationField::ToolHeadRadiusUp:
        return m_needleUp;
    case CalibrationField::DoubleSidedProbeHigh:
    case CalibrationField::NeedleBias:
        return m_needleDown && m_needleUp;
    case CalibrationField::RoughnessRatio:
        return m_withProfile;
    default:
        return m_developerMode;
    }
}
