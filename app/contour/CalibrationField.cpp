#include "CalibrationField.h"

#include "ContourTrace.h"

namespace {

struct FieldPlace
{
    double CalibrationSettings::*setting;
    bool ServiceSettings::*serviceSwitch;
    double ContourTrace::*traceCopy;
    bool uploaded;
};

const FieldPlace& placeOf(CalibrationField field)
{
    static const FieldPlace places[kCalibrationFieldCount] = {
        {&CalibrationSettings::tool_head_radius_down, nullptr, &ContourTrace::tool_head_radius_down, false},
        {&CalibrationSettings::tool_head_radius_up, nullptr, &ContourTrace::tool_head_radius_up, false},
        {&CalibrationSettings::double_sided_probe_high, nullptr, &ContourTrace::double_sided_probe_high, false},
        {&CalibrationSettings::needle_bias, nullptr, &ContourTrace::needle_bias, false},
        {&CalibrationSettings::roughness_ratio, nullptr, &ContourTrace::roughness_ratio, false},
        {&CalibrationSettings::rack_prpendicular, nullptr, &ContourTrace::rack_perpendicular, true},
        {&CalibrationSettings::x_axis_compression_ratio, nullptr, &ContourTrace::x_axis_compression_ratio, true},
        {&CalibrationSettings::y_axis_compression_ratio, nullptr, &ContourTrace::y_axis_compression_ratio, true},
        {&CalibrationSettings::displacement_coefficient, nullptr, &ContourTrace::displacement_coefficient, true},
        {nullptr, &ServiceSettings::is_disabled_gauss_filter, nullptr, false},
        {nullptr, &ServiceSettings::is_disabled_radius_elimination, nullptr, false},
    };
    return places[int(field)];
}

} // namespace

CalibrationField calibrationFieldAt(int index)
{
    return CalibrationField(index);
}

double calibrationValue(CalibrationField field, const AppSettingsData& settings)
{
    const FieldPlace& place = placeOf(field);
    if (place.setting)
        return settings.calibration.*place.setting;
    return settings.servise.*place.serviceSwitch ? 1 : 0;
}

void setCalibrationValue(CalibrationField field, double value, AppSettingsData& settings)
{
    const FieldPlace& place = placeOf(field);
    if (place.setting)
        settings.calibration.*place.setting = value;
    else
        settings.servise.*place.serviceSwitch = value != 0;
}

double traceCopyValue(CalibrationField field, const ContourTrace& trace)
{
    const FieldPlace& place = placeOf(field);
    return place.traceCopy ? trace.*place.traceCopy : 0;
}

void setTraceCopyValue(CalibrationField field, double value, ContourTrace& trace)
{
    const FieldPlace& place = placeOf(field);
    if (place.traceCopy)
        trace.*place.traceCopy = value;
}

bool hasTraceCopy(CalibrationField field)
{
    return placeOf(field).traceCopy != nullptr;
}

bool isUploadedToInstrument(CalibrationField field)
{
    return placeOf(field).uploaded;
}
