#pragma once

#include "DeviceAction.h"
#include "DeviceParameterRecord.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVector>

#include <string>
#include <vector>

// The scan-speed texts by speed index ("movement/current_speed").
extern const QMap<int, QString> kScanSpeeds;
// The scan speed of a speed index in millimetres per second; 0 for an index
// without a speed (also -1, nothing selected).
double scanSpeedMmPerSecond(int speedIndex);

// The bytes of every command the instrument's controller takes. Commands are
// short ASCII strings without terminator; device types are those of the
// identification (0 and 1 contour controller, 2 profile controller, 3 an
// additional trace of the profile controller).
namespace DeviceCommands {

inline constexpr char kKeepAlive[] = "C9";
inline constexpr char kIdentify[] = "CP";
inline constexpr char kConnect[] = "CM";
inline constexpr char kProfileInit[] = "Cq";
inline constexpr char kReadParameters[] = "CO";
inline constexpr char kAutoMinMaxCalib[] = "CV";
inline constexpr char kStopTrace[] = "CC";
// Contour controller: acknowledges the end of a trace, a crash or a finished
// calibration and returns the controller to rest.
inline constexpr char kAcknowledge[] = "CA";
inline constexpr char kContourCalibration[] = "CK";
// Profile controller: the answer to an idle reading.
inline constexpr char kZeroFrameAnswer[] = "CT";
inline constexpr char kThermalPrinterEnd[] = "\xD9\x31";

// The parameter record's answer to kReadParameters starts with this marker.
inline constexpr char kParameterReplyMarker[] = "AAA";

bool isProfileType(int deviceType);
// The type a contour controller takes in a measurement mode
// ("device/measurement_mode"): contour with profile (1) in mode 2, the
// measurement with the roughness probe, otherwise contour (0).
int contourTypeForMeasurementMode(int measurementMode);

// X runs against the sign: a positive value drives "DX-". Y and Z keep it.
std::string moveX(int val);
std::string moveY(int val);
std::string moveZ(int val);

// deviceTypeSetting is "device/device_type"; no command for an unknown type
// or contour measurement mode.
std::vector<std::string> startTrace(int deviceTypeSetting, int measurementMode);
// The profile controller keeps tracing until its block transfer arrives; the
// contour controller's tracing ends before the acknowledgement is sent.
DeviceActions stopTrace(int deviceTypeSetting);

// Profile controller: "Ka" and the reference Ra in thousandths of a
// micrometre, at least five digits. Contour controller: "CK".
std::string calibration(int deviceType, double calibrationRaValue);
// "R" and the arm length per rotation in hundredths of a millimetre, four digits.
std::string mmPerRotation(double value);
// "KX", "KZ", "KR" with two-digit factors; nothing for the profile controller.
std::vector<std::string> resolutionScaling(int deviceType, int scaleX, int scaleZ, int scaleR);
// needlePressing 1 is the needle down ("d"), any other value up ("u").
std::string pressingPower(int needlePressing, int power);
std::string speed(int deviceType, int speedIndex);
std::string filter(int cutOffIndex);
std::string traceLength(int length);
std::string parameterUpload(const DeviceParameterRecord& record);
// The operator's text without line feeds, in UTF-8.
std::string raw(const QString& text);
std::vector<std::string> thermalPrinter(const QVector<QByteArray>& rows);

} // namespace DeviceCommands
