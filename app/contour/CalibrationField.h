#pragma once

#include "AppSettings.h"

class ContourTrace;

// The values the calibration panel edits. The first nine are doubles that
// each contour trace also carries in its calibration copy; the last two are
// switches of the processing that only the settings hold.
enum class CalibrationField {
    ToolHeadRadiusDown,
    ToolHeadRadiusUp,
    DoubleSidedProbeHigh,
    NeedleBias,
    RoughnessRatio,
    RackPerpendicular,
    XAxisCompressionRatio,
    YAxisCompressionRatio,
    DisplacementCoefficient,
    GaussFilterDisabled,
    RadiusEliminationDisabled,
};

constexpr int kCalibrationFieldCount = 11;
// The fields a contour trace carries a copy of.
constexpr int kTraceCopyFieldCount = 9;

CalibrationField calibrationFieldAt(int index);

// The field's value in the record; a switch reads 1 when set.
double calibrationValue(CalibrationField field, const AppSettingsData& settings);
// A switch is set by any non-zero value.
void setCalibrationValue(CalibrationField field, double value, AppSettingsData& settings);

// The trace's copy of the field; only the first nine fields have one.
double traceCopyValue(CalibrationField field, const ContourTrace& trace);
void setTraceCopyValue(CalibrationField field, double value, ContourTrace& trace);
bool hasTraceCopy(CalibrationField field);

// The fields the instrument gets in its parameter upload.
bool isUploadedToInstrument(CalibrationField field);
