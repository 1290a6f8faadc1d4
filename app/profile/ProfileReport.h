#pragma once

#include <QDateTime>
#include <QString>

#include <nlohmann/json.hpp>

class AbstractTrace;
class ExtraArgs;

// What the profile report of one trace is made of: its data, its template
// and reference document, the name proposed for it and where it is written.
class ProfileReport
{
public:
    // The report data of a trace. An additional trace is reported with its
    // main trace's data; a contour trace has none (null). Each trace record
    // names the cut-off that trace's parameters are computed with. The
    // parameters of the shown list are computed first when the trace has no
    // results yet.
    static nlohmann::json data(AbstractTrace* trace, ExtraArgs& args);

    static QString templatePath(int traceType);
    static QString referenceDocPath(int traceType);
    // The base name of the settings followed by the time.
    static QString proposedName(const QString& baseName, const QDateTime& time);
    // The chosen path with ".html" appended unless it ends so already (in
    // any case).
    static QString outputPath(const QString& chosenPath);
};
