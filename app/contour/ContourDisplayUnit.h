#pragma once

#include <QString>

#include <optional>

// The display unit of a contour tab, chosen by the setting "view/axis_unit":
// the tick-label suffix and the factor from the traces' micrometres.
struct ContourDisplayUnit
{
    QString suffix;
    double factor = 1.0;

    // Empty for a setting that names no unit.
    static std::optional<ContourDisplayUnit> fromSetting(int axisUnit);
};
