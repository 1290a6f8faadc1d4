#pragma once

#include <QString>

class AbstractTrace;
class QWidget;

// Writes the trace file (writeTraceFile). A failed write leaves an ERROR line
// with the path in the log and a warning box over `parent`; the trace keeps
// its data, so the user can save it elsewhere.
bool writeTraceFileOrWarn(QWidget* parent, const QString& path, AbstractTrace* trace);
