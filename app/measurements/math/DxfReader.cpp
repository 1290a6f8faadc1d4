#include "DxfReader.h"

#include "DxfLineReader.h"

#include <QByteArray>

#include <charconv>
#include <initializer_list>
#include <cmath>
#include <optional>

namespace MeasurementMath {

namespace {

const QByteArray kBinaryDxfSignature = QByteArrayLiteral("AutoCAD Binary DXF");
const QByteArray kDwgSignature = QByteArrayLiteral("AC10");

const QString kBinaryDxf = QStringLiteral("чертёж сохранён в двоичном DXF, нужен текстовый DXF");
const QString kDwg = QStringLiteral("это чертёж DWG, а не DXF");
const QString kNotText = QStringLiteral("в файле двоичные данные, а не текст DXF");
const QString kTruncated = QStringLiteral("файл обрывается до конца раздела ENTITIES");
const QString kNoEntity = QStringLiteral("в файле нет ни отрезков, ни дуг, ни окружностей, ни эллипсов, ни полилиний");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The line without the blanks around it, as a view into it.
std::pair<const char*, const char*> trimmed(const QByteArray& line)
{
    const char* first = line.constData();
    const char* last = first + line.size();
    while (first < last && isBlank(*first))
        ++first;
    while (last > first && isBlank(last[-1]))
        --last;
    return {first, last};
}

// The whole trimmed line as an integer.
std::optional<int> groupCode(const QByteArray& line)
{
    auto [first, last] = trimmed(line);
    if (first < last && *first == '+')
        ++first;
    int code = 0;
    const auto [end, error] = std::from_chars(first, last, code);
    if (first == last || error != std::errc() || end != last)
        return std::nullopt;
    return code;
}

std::optional<double> number(const QByteArray& value)
{
    auto [first, last] = trimmed(value);
    if (first < last && *first == '+')
        ++first;
    double x = 0;
    const auto [end, error] = std::from_chars(first, last, x);
    if (first == last || error != std::errc() || end != last || !std::isfinite(x))
        return std::nullopt;
    return x;
}

std::optional<int> integer(const QByteArray& value)
{
    return groupCode(value);
}

// The first run of non-blank characters.
QByteArray firstWord(const QByteArray& line)
{
    auto [first, last] = trimmed(line);
    const char* end = first;
    while (end < last && !isBlank(*end))
        ++end;
    return QByteArray(first, int(end - first));
}

struct Vertex
{
    double x = 0;
    double y = 0;
    double bulge = 0;
};

// The segment from a to b, or the arc that the bulge (the tangent of a
// quarter of the included angle, positive counter-clockwise) makes of it.
DrawingEntity polylineSegment(const Vertex& a, const Vertex& b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double chord = std::sqrt(dx * dx + dy * dy);
    if (a.bulge == 0 || chord == 0)
        return lineEntity(a.x, a.y, b.x, b.y);
    const double g = a.bulge;
    // From the chord's middle along its left normal to the centre.
    const double offset = (1 - g * g) / (4 * g);
    const double cx = (a.x + b.x) / 2 - dy * offset;
    const double cy = (a.y + b.y) / 2 + dx * offset;
    const double r = chord * (1 + g * g) / (4 * std::abs(g));
    constexpr double kDegreesPerRadian = 57.29577951308232;
    const double angleA = std::atan2(a.y - cy, a.x - cx) * kDegreesPerRadian;
    const double angleB = std::atan2(b.y - cy, b.x - cx) * kDegreesPerRadian;
    return g > 0 ? arcEntity(cx, cy, r, angleA, angleB) : arcEntity(cx, cy, r, angleB, angleA);
}

} // namespace

QString DxfReadResult::errorText() const
{
    if (error.isEmpty())
        return QString();
    return QStringLiteral("Чертёж не прочитан, строка %1: %2").arg(errorLine).arg(error);
}

DxfReader::DxfReader(QIODevice* device, double unitFactor)
    : m_lines(std::make_unique<DxfLineReader>(device))
    , m_factor(unitFactor)
{
}

DxfReader::~DxfReader() = default;

void DxfReader::fail(const QString& reason, int line)
{
    if (m_result.error.isEmpty()) {
        m_result.error = reason;
        m_result.errorLine = line;
    }
}

bool DxfReader::isUsableText()
{
    const QByteArray head = m_lines->peek(kBinaryDxfSignature.size());
    if (head.startsWith(kBinaryDxfSignature)) {
        fail(kBinaryDxf, 1);
        return false;
    }
    if (head.startsWith(kDwgSignature)) {
        fail(kDwg, 1);
        return false;
    }
    return true;
}

DxfReadResult DxfReader::read()
{
    if (!isUsableText())
        return m_result;
    bool inEntities = false;
    bool sectionEnded = false;
    QByteArray line;
    QByteArray value;
    while (!sectionEnded && m_lines->next(line)) {
        if (line.contains('\0')) {
            fail(kNotText, m_lines->lineNumber());
            return m_result;
        }
        const std::optional<int> code = groupCode(line);
        if (!code) {
            const QByteArray word = firstWord(line);
            if (word == "ENTITIES")
                inEntities = true;
            else if (inEntities && word == "ENDSEC")
                sectionEnded = true;
            else if (inEntities)
                dispatch(word);
            continue;
        }
        if (!m_lines->next(value))
            break;
        if (value.contains('\0')) {
            fail(kNotText, m_lines->lineNumber());
            return m_result;
        }
        const QByteArray word = firstWord(value);
        if (*code == 2 && word == "ENTITIES") {
            inEntities = true;
        } else if (inEntities && *code == 0) {
            m_circleIndex = -1;
            sectionEnded = word == "ENDSEC";
        } else if (inEntities && *code == 100) {
            dispatch(word);
        }
    }
    if (inEntities && !sectionEnded)
        fail(kTruncated, m_lines->lineNumber());
    else if (m_result.entities.isEmpty())
        fail(kNoEntity, m_lines->lineNumber());
    return m_result;
}

void DxfReader::dispatch(const QByteArray& marker)
{
    if (marker == "AcDbCircle")
        readCircle();
    else if (marker == "AcDbArc")
        readArc();
    else if (marker == "AcDbLine")
        readLine();
    else if (marker == "AcDbEllipse")
        readEllipse();
    else if (marker == "AcDbPolyline")
        readPolyline();
}

// Calls onPair(code, value) for the pairs of one entity, up to a code 0, a
// code 100 or a line that is no code, which is left for the scan. False when
// the file ends first.
template <typename OnPair>
bool DxfReader::readEntityPairs(OnPair onPair)
{
    QByteArray line;
    QByteArray value;
    while (m_lines->next(line)) {
        const std::optional<int> code = groupCode(line);
        if (!code || *code == 0 || *code == 100) {
            m_lines->pushBack();
            return true;
        }
        if (!m_lines->next(value))
            return false;
        onPair(*code, value);
    }
    return false;
}

void DxfReader::append(const DrawingEntity& entity)
{
    m_result.entities.append(entity);
}

bool DxfReader::readNumbers(std::initializer_list<std::pair<int, double*>> wanted)
{
    bool valid = true;
    const bool complete = readEntityPairs([&](int code, const QByteArray& value) {
        for (const auto& [wantedCode, target] : wanted) {
            if (code != wantedCode)
                continue;
            const std::optional<double> x = number(value);
            valid = valid && x;
            *target = x.value_or(0);
        }
    });
    return complete && valid;
}

void DxfReader::readLine()
{
    m_circleIndex = -1;
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    if (readNumbers({{10, &x1}, {20, &y1}, {11, &x2}, {21, &y2}}))
        append(lineEntity(x1 * m_factor, y1 * m_factor, x2 * m_factor, y2 * m_factor));
}

void DxfReader::readCircle()
{
    m_circleIndex = -1;
    double cx = 0;
    double cy = 0;
    double r = 0;
    double extrusionZ = 1;
    if (!readNumbers({{10, &cx}, {20, &cy}, {40, &r}, {230, &extrusionZ}}) || r <= 0)
        return;
    // Seen from below, the entity's own x axis runs along the drawing's -x.
    m_circleMirrored = extrusionZ < 0;
    if (m_circleMirrored)
        cx = -cx;
    append(circleEntity(cx * m_factor, cy * m_factor, r * m_factor));
    m_circleIndex = m_result.entities.size() - 1;
}

// Only the circle read just before becomes an arc; without one the angles
// have nothing to belong to and are skipped.
void DxfReader::readArc()
{
    const int circle = m_circleIndex;
    m_circleIndex = -1;
    double start = 0;
    double end = 0;
    const bool read = readNumbers({{50, &start}, {51, &end}});
    if (circle < 0 || circle != m_result.entities.size() - 1)
        return;
    if (!read) {
        m_result.entities.removeLast();
        return;
    }
    const QVector<double>& c = m_result.entities.at(circle).parameters;
    m_result.entities[circle] = m_circleMirrored ? arcEntity(c[0], c[1], c[2], 180 - end, 180 - start)
                                                 : arcEntity(c[0], c[1], c[2], start, end);
}

// The longer half-axis lies along x or y, whichever the major axis is nearer.
void DxfReader::readEllipse()
{
    m_circleIndex = -1;
    double cx = 0;
    double cy = 0;
    double mx = 0;
    double my = 0;
    double ratio = 0;
    const bool read = readNumbers({{10, &cx}, {20, &cy}, {11, &mx}, {21, &my}, {40, &ratio}});
    const double major = std::sqrt(mx * mx + my * my);
    if (!read || major <= 0 || ratio <= 0)
        return;
    const double minor = ratio * major;
    const bool alongX = std::abs(mx) >= std::abs(my);
    append(ellipseEntity(cx * m_factor, cy * m_factor, (alongX ? major : minor) * m_factor,
                         (alongX ? minor : major) * m_factor));
}

// The vertex count (90) is not trusted: the vertices are those read up to the
// end of the entity. Bit 1 of the flags (70) closes a polyline of three or
// more vertices.
void DxfReader::readPolyline()
{
    m_circleIndex = -1;
    QVector<Vertex> vertices;
    double pendingX = 0;
    bool hasPendingX = false;
    int flags = 0;
    bool valid = true;
    const bool complete = readEntityPairs([&](int code, const QByteArray& value) {
        if (code == 70) {
            const std::optional<int> f = integer(value);
            valid = valid && f;
            flags = f.value_or(0);
            return;
        }
        if (code != 10 && code != 20 && code != 42)
            return;
        const std::optional<double> x = number(value);
        valid = valid && x;
        if (!x)
            return;
        if (code == 10) {
            pendingX = *x;
            hasPendingX = true;
        } else if (code == 20 && hasPendingX) {
            vertices.append({pendingX * m_factor, *x * m_factor, 0});
            hasPendingX = false;
        } else if (code == 42 && !vertices.isEmpty()) {
            vertices.last().bulge = *x;
        }
    });
    if (!complete || !valid)
        return;
    for (int i = 0; i + 1 < vertices.size(); ++i)
        append(polylineSegment(vertices.at(i), vertices.at(i + 1)));
    if (vertices.size() >= 3 && (flags & 1))
        append(polylineSegment(vertices.last(), vertices.first()));
}

} // namespace MeasurementMath
