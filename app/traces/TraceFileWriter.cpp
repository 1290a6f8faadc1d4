#include "TraceFileWriter.h"

#include <QSaveFile>

#include <algorithm>

#include "ContourTrace.h"
#include "DecimalText.h"
#include "ProfileTrace.h"
#include "TraceFileType.h"
#include "TraceTypes.h"

namespace {

// Point lines are written in pieces of about this size.
constexpr int kWriteChunk = 1 << 20;

QString line(const char* key, const QString& value)
{
    return QLatin1String(key) + value + QLatin1Char('\n');
}

QString numberLine(const char* key, double value)
{
    return line(key, DecimalText::number(value));
}

// An inspector's name with a line break would end the header early.
QString singleLine(const std::string& text)
{
    QString value = QString::fromStdString(text);
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

bool writeAll(QIODevice& file, const QByteArray& bytes)
{
    return file.write(bytes) == bytes.size();
}

bool writeTraceWithPoints(QIODevice& file, AbstractTrace* trace)
{
    return writeAll(file, traceHeaderText(trace).toUtf8()) && writeTracePoints(file, trace);
}

bool writeProfileFile(QIODevice& file, ProfileTrace* trace)
{
    const QVector<ProfileTrace*> additional = trace->additionalTraces;
    if (!writeAll(file, traceHeaderText(trace).toUtf8())
        || !writeAll(file, line("addittional_trace_count:", QString::number(additional.size())).toUtf8())
        || !writeTracePoints(file, trace))
        return false;
    for (ProfileTrace* additionalTrace : additional) {
        if (!writeTraceWithPoints(file, additionalTrace))
            return false;
    }
    return true;
}

} // namespace

bool writeTraceFile(const QString& path, AbstractTrace* trace)
{
    if (!trace)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    auto* profile = dynamic_cast<ProfileTrace*>(trace);
    const bool written = profile && trace->type == PROFILE ? writeProfileFile(file, profile)
                                                           : writeTraceWithPoints(file, trace);
    if (!written) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString traceHeaderText(AbstractTrace* trace)
{
    QString text = line("trace_type:", TraceFileType::wordOfType(trace->type));
    if (const auto* contour = dynamic_cast<const ContourTrace*>(trace))
        text += calibrationHeaderText(*contour);
    else if (const auto* profile = dynamic_cast<const ProfileTrace*>(trace))
        text += profileHeaderText(*profile);
    text += line("controler_name:", singleLine(trace->controllerName));
    text += line("creation_date:", QString::fromStdString(trace->creationDateString()));
    return text;
}

QString calibrationHeaderText(const ContourTrace& trace)
{
    return line("needle_pressing:", trace.needle_pressing != 0 ? QStringLiteral("d") : QStringLiteral("u"))
        + numberLine("tool_head_radius_down:", trace.tool_head_radius_down)
        + numberLine("tool_head_radius_up:", trace.tool_head_radius_up)
        + numberLine("double_sided_probe_high:", trace.double_sided_probe_high)
        + numberLine("needle_bias:", trace.needle_bias)
        + numberLine("rack_perpendicular:", trace.rack_perpendicular)
        + numberLine("x_axis_compression_ratio:", trace.x_axis_compression_ratio)
        + numberLine("y_axis_compression_ratio:", trace.y_axis_compression_ratio)
        + numberLine("displacement_coefficient:", trace.displacement_coefficient)
        + numberLine("roughness_ratio:", trace.roughness_ratio)
        + line("measurement_mode:", QString::number(trace.measurement_mode));
}

QString profileHeaderText(const ProfileTrace& trace)
{
    return numberLine("speed:", trace.speed) + numberLine("filter:", trace.filterCutOff);
}

bool writeTracePoints(QIODevice& file, AbstractTrace* trace)
{
    // A copy of the columns (shared, not duplicated) taken under the lock,
    // so that the file holds one consistent state of the raw store.
    const ProfileData raw = *trace->lockedRawData().data;
    const int columns = std::min(trace->dimension(), raw.size());
    int count = columns > 0 ? raw[0].size() : 0;
    for (int c = 1; c < columns; ++c)
        count = std::min(count, raw[c].size());

    QByteArray text = "point_count:" + QByteArray::number(count) + '\n';
    text.reserve(kWriteChunk + 256);
    for (int i = 0; i < count; ++i) {
        for (int c = 0; c < columns; ++c) {
            DecimalText::appendNumber(text, raw[c][i]);
            text.append('\t');
        }
        text.append('\n');
        if (text.size() >= kWriteChunk) {
            if (!writeAll(file, text))
                return false;
            text.resize(0);
        }
    }
    return writeAll(file, text);
}
