#pragma once

#include <QString>

struct AppSettingsData;

// The twelve values that the settings dialog shows and writes when accepted.
// The selectors hold item indices: the pressing force is its index + 1, the
// axis unit and the standard are their indices. A selector without a current
// item (-1, a stored value outside its items) leaves its setting as it is.
struct SettingsDialogValues
{
    bool alternativeControl = false;
    int pressingPowerIndex = -1;
    int axisUnitIndex = -1;
    bool demo = false;
    bool anglesInDegrees = false;
    bool alternativeMeasurement = false;
    int standardIndex = -1;
    bool askBeforeChangeFilter = false;
    QString factoryName;
    int scaleXResolution = 0;
    int scaleZResolution = 0;
    int scaleRResolution = 0;

    static SettingsDialogValues fromSettings(const AppSettingsData& settings);
    void writeTo(AppSettingsData& settings) const;
};
