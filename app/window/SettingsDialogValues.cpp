#include "SettingsDialogValues.h"

#include "AppSettings.h"

SettingsDialogValues SettingsDialogValues::fromSettings(const AppSettingsData& settings)
{
    SettingsDialogValues values;
    values.alternativeControl = settings.device.alternative_managment;
    values.pressingPowerIndex = settings.device.power_pressing - 1;
    values.axisUnitIndex = settings.view.axis_unit;
    values.demo = settings.servise.demo_regime;
    values.anglesInDegrees = settings.view.angles_in_deg;
    values.alternativeMeasurement = settings.preferenses.alternative_measurement;
    values.standardIndex = settings.preferenses.standartisation_value;
    values.askBeforeChangeFilter = settings.preferenses.is_ask_before_change_filter;
    values.factoryName = settings.servise.factory_name;
    values.scaleXResolution = settings.servise.scale_x_resolution;
    values.scaleZResolution = settings.servise.scale_z_resolution;
    values.scaleRResolution = settings.servise.scale_r_resolution;
    return values;
}

void SettingsDialogValues::writeTo(AppSettingsData& settings) const
{
    settings.device.alternative_managment = alternativeControl;
    if (pressingPowerIndex >= 0)
        settings.device.power_pressing = pressingPowerIndex + 1;
    if (axisUnitIndex >= 0)
        settings.view.axis_unit = axisUnitIndex;
    settings.servise.demo_regime = demo;
    settings.view.angles_in_deg = anglesInDegrees;
    settings.preferenses.alternative_measurement = alternativeMeasurement;
    if (standardIndex >= 0)
        settings.preferenses.standartisation_value = standardIndex;
    settings.preferenses.is_ask_before_change_filter = askBeforeChangeFilter;
    settings.servise.factory_name = factoryName;
    settings.servise.scale_x_resolution = scaleXResolution;
    settings.servise.scale_z_resolution = scaleZResolution;
    settings.servise.scale_r_resolution = scaleRResolution;
}
