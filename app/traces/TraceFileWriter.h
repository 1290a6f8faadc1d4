#pragma once

#include <QString>

class AbstractTrace;
class ContourTrace;
class ProfileTrace;
class QIODevice;

// The trace text format: a header of "key:value" lines, "point_count:" and
// one line per raw point, each value in "%g" with six significant digits
// followed by a TAB. A profile file holds its additional traces after the
// main trace's points, each with its own header, "point_count:" and points.

// Writes the trace to `path`, replacing the file only when the whole file
// was written; false (the old file untouched) when that failed.
bool writeTraceFile(const QString& path, AbstractTrace* trace);

// Lines 1-4 of the header: type, the calibration block of a contour trace or
// the profile block of a profile trace, inspector and creation date.
QString traceHeaderText(AbstractTrace* trace);
QString calibrationHeaderText(const ContourTrace& trace);
QString profileHeaderText(const ProfileTrace& trace);

// The "point_count:" line and the point lines of the trace's raw store;
// false when the device refused a write.
bool writeTracePoints(QIODevice& file, AbstractTrace* trace);
