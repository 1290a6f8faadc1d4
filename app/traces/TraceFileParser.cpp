#include "TraceFileParser.h"

#include <QDateTime>
#include <QVarLengthArray>

#include <algorithm>

#include "ByteLineReader.h"
#include "Constants.h"
#include "ContourTrace.h"
#include "DataMedianFilterProcessor.h"
#include "DecimalText.h"
#include "FilterRoughnessProfileProcessor.h"
#include "FilterWaveProfileProcessor.h"
#include "ProfileTrace.h"
#include "ThreadAngleCompensationProcessor.h"
#include "TraceFileType.h"
#include "TraceTypes.h"
#include "YZeronator.h"

namespace {

const QString kPointCountKey = QStringLiteral("point_count");
const QString kCreationDateFormat = QStringLiteral("dd-MM-yyyy HH:mm:ss");

enum ProfileFilterMode { NO_PROFILE_FILTER = 0, ROUGHNESS_FILTER = 1, WAVINESS_FILTER = 2 };

int toInteger(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

bool isProfileType(int type)
{
    return type == PROFILE || type == ADDITIONAL_TRACE;
}

// The rows that the rest of the file holds if its lines are as long as
// those read so far; never more than the count still announced, nor than
// kMaxReservedRows, so that a file cannot make the stores reserve much more
// than it fills.
int rowsLeftEstimate(int rowsRead, qint64 bytesRead, qint64 bytesLeft, int rowsAnnounced)
{
    constexpr qint64 kMaxReservedRows = 1 << 24;
    if (rowsRead <= 0 || bytesRead <= 0)
        return 0;
    const qint64 estimate = qint64(double(bytesLeft) / double(bytesRead) * rowsRead);
    return int(std::min({estimate, qint64(rowsAnnounced), kMaxReservedRows}));
}

// The rows of the first block of point lines and of the rest of the file,
// estimated as rowsLeftEstimate does from the block's lines, before any of
// them is added: the stores are then reserved while still empty.
int rowsFromBlockEstimate(const ByteLine& block, qint64 bytesLeft, int count)
{
    const qint64 lineEnds = std::count(block.begin, block.end, '\n');
    const bool endsInLine = block.begin < block.end && block.end[-1] != '\n';
    const int blockRows = int(std::min<qint64>(lineEnds + (endsInLine ? 1 : 0), count));
    return blockRows + rowsLeftEstimate(blockRows, block.end - block.begin, bytesLeft, count - blockRows);
}

// Reads up to `count` point lines, many at a time from the reader's buffer;
// `read` gets the rows read. False at a malformed number.
bool readCountedPoints(ByteLineReader& reader, int count, BatchedRowAppender& rows, int columns, int& read)
{
    QVarLengthArray<double, 3> point(columns);
    ByteLine lines;
    while (read < count && reader.readLines(lines)) {
        if (read == 0)
            rows.reserve(rowsFromBlockEstimate(lines, reader.bytesLeft(), count));
        const char* position = lines.begin;
        for (; read < count && position < lines.end; ++read) {
            position = DecimalText::readLineNumbers(position, lines.end, point.data(), columns);
            if (!position)
                return false;
            rows.addRow(point.constData());
        }
        reader.unread(position);
    }
    return true;
}

// The points of a header without a count: the line that ended the header
// and the lines after it up to an empty line. False at a malformed number.
bool readPointsUpToEmptyLine(ByteLineReader& reader, bool hasEndingLine, const QByteArray& endingLine,
                             BatchedRowAppender& rows, int columns)
{
    QVarLengthArray<double, 3> point(columns);
    const auto addLine = [&](const char* begin, const char* end) {
        if (!DecimalText::readNumbers(begin, end, point.data(), columns))
            return false;
        rows.addRow(point.constData());
        return true;
    };
    if (!hasEndingLine)
        return true;
    if (!endingLine.isEmpty() && !addLine(endingLine.constData(), endingLine.constData() + endingLine.size()))
        return false;
    ByteLine line;
    while (reader.readLine(line) && !line.trimmed().isEmpty()) {
        if (!addLine(line.begin, line.end))
            return false;
    }
    return true;
}

bool fitsTraceClass(int type, AbstractTrace& trace)
{
    if (isProfileType(type))
        return dynamic_cast<ProfileTrace*>(&trace) != nullptr;
    return dynamic_cast<ContourTrace*>(&trace) != nullptr;
}

} // namespace

struct TraceFileParser::HeaderBlock
{
    Header values;
    // Whether the header holds "point_count:" (its last line).
    bool hasPointCount = false;
    // The line without ':' that ended a header without "point_count:".
    bool hasEndingLine = false;
    QByteArray endingLine;
    // Whether any line was read at all.
    bool isEmpty = true;
};

TraceFileParser::TraceFileParser(const AppSettingsData& settings, BatchedRowAppender::Handler onBatch)
    : m_settings(settings), m_onBatch(std::move(onBatch))
{
}

TraceFileParser::Result TraceFileParser::parse(QIODevice& device, const QString& path, AbstractTrace& trace)
{
    m_shortfalls.clear();
    ByteLineReader reader(device);
    HeaderBlock block = readHeader(reader);
    const Header header = completedHeader(block);
    const int type = TraceFileType::typeOfWord(header.value(QStringLiteral("trace_type")));
    if (!fitsTraceClass(type, trace))
        return Result::WrongTraceClass;

    trace.setType(type);
    if (auto* profile = dynamic_cast<ProfileTrace*>(&trace))
        readProfileHeader(header, *profile);
    else
        readContourHeader(header, static_cast<ContourTrace&>(trace));
    readCommonHeader(header, trace);
    trace.setFilePath(path);

    if (!readPoints(reader, block, trace, m_onBatch, QStringLiteral("points")))
        return Result::MalformedNumber;

    if (type == PROFILE) {
        const int additionalCount = toInteger(header.value(QStringLiteral("addittional_trace_count")));
        if (!readAdditionalTraces(reader, additionalCount, path, static_cast<ProfileTrace&>(trace)))
            return Result::MalformedNumber;
    }
    return Result::Read;
}

TraceFileParser::HeaderBlock TraceFileParser::readHeader(ByteLineReader& reader) const
{
    HeaderBlock block;
    ByteLine line;
    while (reader.readLine(line)) {
        block.isEmpty = false;
        const ByteLine trimmed = line.trimmed();
        const QString text = QString::fromUtf8(trimmed.begin, int(trimmed.end - trimmed.begin));
        const int colon = text.indexOf(QLatin1Char(':'));
        if (colon < 0) {
            block.hasEndingLine = true;
            block.endingLine = trimmed.toByteArray();
            break;
        }
        const QString key = text.left(colon).trimmed();
        block.values.insert(key, text.mid(colon + 1).trimmed());
        if (key == kPointCountKey) {
            block.hasPointCount = true;
            break;
        }
    }
    return block;
}

TraceFileParser::Header TraceFileParser::defaultHeader() const
{
    const CalibrationSettings& calibration = m_settings.calibration;
    const auto number = [](double value) { return DecimalText::number(value); };
    Header header;
    header.insert(QStringLiteral("trace_type"), QStringLiteral("CONTOUR"));
    header.insert(QStringLiteral("needle_pressing"),
                  m_settings.movement.needle_pressing != 0 ? QStringLiteral("d") : QStringLiteral("u"));
    header.insert(QStringLiteral("tool_head_radius_down"), number(calibration.tool_head_radius_down));
    header.insert(QStringLiteral("tool_head_radius_up"), number(calibration.tool_head_radius_up));
    header.insert(QStringLiteral("double_sided_probe_high"), number(calibration.double_sided_probe_high));
    header.insert(QStringLiteral("needle_bias"), number(calibration.needle_bias));
    header.insert(QStringLiteral("rack_perpendicular"), number(calibration.rack_prpendicular));
    header.insert(QStringLiteral("roughness_ratio"), number(calibration.roughness_ratio));
    header.insert(QStringLiteral("x_axis_compression_ratio"), number(calibration.x_axis_compression_ratio));
    header.insert(QStringLiteral("y_axis_compression_ratio"), number(calibration.y_axis_compression_ratio));
    header.insert(QStringLiteral("displacement_coefficient"), number(calibration.displacement_coefficient));
    header.insert(QStringLiteral("measurement_mode"), QString::number(m_settings.device.measurement_mode));
    header.insert(QStringLiteral("speed"), number(m_settings.movement.current_speed * 0.25 + 0.25));
    header.insert(QStringLiteral("filter"), number(cutOffForIndex(m_settings.device.spinbox_filter_length_index)));
    header.insert(QStringLiteral("controler_name"), QStringLiteral("no name"));
    header.insert(QStringLiteral("creation_date"), QStringLiteral("01-01-1970 00:00:00"));
    header.insert(QStringLiteral("addittional_trace_count"), QStringLiteral("0"));
    return header;
}

TraceFileParser::Header TraceFileParser::completedHeader(const HeaderBlock& block) const
{
    Header header = defaultHeader();
    for (auto it = block.values.cbegin(); it != block.values.cend(); ++it)
        header.insert(it.key(), it.value());
    return header;
}

void TraceFileParser::readContourHeader(const Header& header, ContourTrace& trace) const
{
    const auto number = [&header](const char* key) { return DecimalText::toNumber(header.value(QLatin1String(key))); };
    trace.needle_pressing = header.value(QStringLiteral("needle_pressing")) == QLatin1String("u") ? 0 : 1;
    trace.tool_head_radius_down = number("tool_head_radius_down");
    trace.tool_head_radius_up = number("tool_head_radius_up");
    trace.double_sided_probe_high = number("double_sided_probe_high");
    trace.needle_bias = number("needle_bias");
    trace.rack_perpendicular = number("rack_perpendicular");
    trace.roughness_ratio = number("roughness_ratio");
    trace.x_axis_compression_ratio = number("x_axis_compression_ratio");
    trace.y_axis_compression_ratio = number("y_axis_compression_ratio");
    trace.displacement_coefficient = number("displacement_coefficient");
    trace.measurement_mode = toInteger(header.value(QStringLiteral("measurement_mode")));
}

void TraceFileParser::readProfileHeader(const Header& header, ProfileTrace& trace) const
{
    trace.speed = DecimalText::toNumber(header.value(QStringLiteral("speed")));
    trace.filterCutOff = DecimalText::toNumber(header.value(QStringLiteral("filter")));
    trace.medianWindow = m_settings.preferenses.meadian_filter_value;
    trace.medianEnabled = m_settings.preferenses.meadian_filter;
}

void TraceFileParser::readCommonHeader(const Header& header, AbstractTrace& trace) const
{
    trace.controllerName = header.value(QStringLiteral("controler_name")).toStdString();
    trace.creationTime = QDateTime::fromString(header.value(QStringLiteral("creation_date")), kCreationDateFormat);
}

bool TraceFileParser::readPoints(ByteLineReader& reader, const HeaderBlock& block, AbstractTrace& trace,
                                 const BatchedRowAppender::Handler& onBatch, const QString& what)
{
    BatchedRowAppender rows(trace, onBatch);
    if (!block.hasPointCount)
        return readPointsUpToEmptyLine(reader, block.hasEndingLine, block.endingLine, rows, trace.dimension());
    const int count = toInteger(block.values.value(kPointCountKey));
    int read = 0;
    if (!readCountedPoints(reader, count, rows, trace.dimension(), read))
        return false;
    if (read < count)
        m_shortfalls.append({what, count, read});
    return true;
}

bool TraceFileParser::readAdditionalTraces(ByteLineReader& reader, int count, const QString& path, ProfileTrace& main)
{
    for (int i = 0; i < count; ++i) {
        HeaderBlock block = readHeader(reader);
        if (block.isEmpty) {
            m_shortfalls.append({QStringLiteral("additional traces"), count, i});
            return true;
        }
        const Header header = completedHeader(block);
        auto* additional = new ProfileTrace;
        additional->setType(ADDITIONAL_TRACE);
        readProfileHeader(header, *additional);
        readCommonHeader(header, *additional);
        additional->setFilePath(path);
        additional->setName(path);
        const bool wellFormed =
            readPoints(reader, block, *additional, {}, QStringLiteral("points of additional trace %1").arg(i + 1));
        addAdditionalPostProcessors(*additional);
        main.addAdditionalTrace(additional);
        if (!wellFormed)
            return false;
    }
    return true;
}

void TraceFileParser::addAdditionalPostProcessors(ProfileTrace& trace) const
{
    const PreferenceSettings& preferences = m_settings.preferenses;
    const double cutOff = cutOffForIndex(m_settings.device.spinbox_filter_length_index);
    if (preferences.meadian_filter)
        trace.addPostProcessor(new DataMedianFilterProcessor(preferences.meadian_filter_value));
    if (preferences.thread_angle_compensation)
        trace.addPostProcessor(new ThreadAngleCompensationProcessor(preferences.thread_angle_compensation_value));
    if (preferences.profile_filter_mode == ROUGHNESS_FILTER)
        trace.addPostProcessor(new FilterRoughnessProfileProcessor(cutOff));
    else if (preferences.profile_filter_mode == WAVINESS_FILTER)
        trace.addPostProcessor(new FilterWaveProfileProcessor(cutOff));
    trace.addPostProcessor(new YZeronator);
}
