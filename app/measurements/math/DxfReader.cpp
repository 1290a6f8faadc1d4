#include "DxfReader.h"

#include "DrawingGeometry.h"
#include "DxfLineReader.h"

#include <QByteArray>

#include <algorithm>
#include <charconv>
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
const QString kUnknownUnit = QStringLiteral("единицы чертежа ($INSUNITS = %1) не поддерживаются: читаются миллиметры, "
                                            "сантиметры, метры, микрометры, дюймы и футы");

constexpr int kCommentCode = 999;

// POLYLINE flags: a closed polyline, and the meshes that are no outline.
constexpr int kClosed = 1;
constexpr int kPolygonMesh = 16;
constexpr int kPolyfaceMesh = 64;
// A VERTEX of a spline's frame is no point of the outline.
constexpr int kSplineFrameVertex = 16;

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

// What a millimetre is in the drawing unit that $INSUNITS names: none for a
// unit the drawings cannot be in. 0 (no unit) is taken as millimetres.
std::optional<double> millimetresPerDrawingUnit(int insunits)
{
    switch (insunits) {
    case 0:
    case 4:
        return 1.0;
    case 1:
        return 25.4;
    case 2:
        return 304.8;
    case 5:
        return 10.0;
    case 6:
        return 1000.0;
    case 13:
        return 0.001;
    default:
        return std::nullopt;
    }
}

struct Vertex
{
    double x = 0;
    double y = 0;
    double bulge = 0;
};

// The arc's middle lies half the bulge times the chord off the chord; below
// this fraction of the chord the bulge is rounding noise (CAD programs write
// the sine of pi, 1.2e-16, on straight segments) and the segment is straight.
constexpr double kNegligibleSagitta = 1e-9;

bool isNegligibleBulge(double bulge)
{
    return std::abs(bulge) / 2 < kNegligibleSagitta;
}

// The segment from a to b, or the arc that the bulge (the tangent of a
// quarter of the included angle, positive counter-clockwise) makes of it.
DrawingEntity polylineSegment(const Vertex& a, const Vertex& b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double chord = std::sqrt(dx * dx + dy * dy);
    if (isNegligibleBulge(a.bulge) || chord == 0)
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

// Every number finite, and a radius or half-axes that are positive.
bool hasUsableGeometry(const DrawingEntity& entity)
{
    const QVector<double>& p = entity.parameters;
    if (!std::all_of(p.cbegin(), p.cend(), [](double v) { return std::isfinite(v); }))
        return false;
    if (isCircleOrArc(entity))
        return p[2] > 0;
    if (isEllipse(entity))
        return p[2] > 0 && p[3] > 0;
    return true;
}

} // namespace

struct DxfReader::Polyline
{
    int flags = 0;
    bool mirrored = false;
    QVector<Vertex> vertices;
};

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
    QByteArray line;
    QByteArray value;
    while (!m_entitiesEnded && m_lines->next(line)) {
        if (line.contains('\0')) {
            fail(kNotText, m_lines->lineNumber());
            return m_result;
        }
        const std::optional<int> code = groupCode(line);
        if (!code) {
            const QByteArray word = firstWord(line);
            if (word == "ENTITIES")
                m_section = Section::Entities;
            else if (m_section == Section::Entities && word == "ENDSEC")
                endEntities();
            else if (m_section == Section::Entities)
                readMarkedEntity(word);
            continue;
        }
        if (!m_lines->next(value))
            break;
        if (value.contains('\0')) {
            fail(kNotText, m_lines->lineNumber());
            return m_result;
        }
        if (!takePair(*code, value))
            return {{}, m_result.error, m_result.errorLine};
    }
    scaleEntities(m_millimetresPerUnit);
    if (m_section == Section::Entities && !m_entitiesEnded)
        fail(kTruncated, m_lines->lineNumber());
    else if (m_result.entities.isEmpty())
        fail(kNoEntity, m_lines->lineNumber());
    return m_result;
}

// A section is named by the pair right after its "0 SECTION", comments
// (999) aside.
bool DxfReader::takePair(int code, const QByteArray& value)
{
    if (code == kCommentCode)
        return true;
    const QByteArray word = firstWord(value);
    const bool sectionNameDue = m_sectionNameDue;
    m_sectionNameDue = false;
    if (code == 0) {
        if (word == "SECTION")
            m_sectionNameDue = true;
        else if (word == "ENDSEC" && m_section == Section::Entities)
            endEntities();
        else if (word == "ENDSEC")
            m_section = Section::None;
        else if (m_section == Section::Entities)
            readTypedEntity(word);
        return true;
    }
    if (sectionNameDue && code == 2) {
        m_section = word == "ENTITIES" ? Section::Entities : word == "HEADER" ? Section::Header : Section::Other;
        return true;
    }
    if (m_section == Section::Header)
        return readHeaderVariable(code, value);
    return true;
}

bool DxfReader::readHeaderVariable(int code, const QByteArray& value)
{
    if (code == 9) {
        m_headerVariable = firstWord(value);
        return true;
    }
    if (code != 70 || m_headerVariable != "$INSUNITS")
        return true;
    const std::optional<int> unit = integer(value);
    const std::optional<double> millimetres = unit ? millimetresPerDrawingUnit(*unit) : std::nullopt;
    if (!millimetres) {
        fail(kUnknownUnit.arg(QString::fromLatin1(firstWord(value))), m_lines->lineNumber());
        return false;
    }
    m_millimetresPerUnit = *millimetres;
    return true;
}

void DxfReader::endEntities()
{
    endPolyline();
    m_entitiesEnded = true;
}

// A POLYLINE gathers the VERTEX entities after it; SEQEND, or any other
// entity, ends it.
void DxfReader::readTypedEntity(const QByteArray& type)
{
    m_circleIndex = -1;
    if (m_polyline && type != "VERTEX")
        endPolyline();
    if (!collectPairs()) {
        m_polyline.reset();
        return;
    }
    if (type == "LINE")
        readLine();
    else if (type == "CIRCLE")
        readCircle(false);
    else if (type == "ARC")
        readCircle(true);
    else if (type == "ELLIPSE")
        readEllipse();
    else if (type == "LWPOLYLINE")
        readLightweightPolyline();
    else if (type == "POLYLINE")
        startPolyline();
    else if (type == "VERTEX" && m_polyline)
        addVertex();
}

void DxfReader::readMarkedEntity(const QByteArray& marker)
{
    endPolyline();
    const bool arc = marker == "AcDbArc";
    if (!arc)
        m_circleIndex = -1;
    if (!collectPairs()) {
        if (arc && m_circleIndex >= 0 && m_circleIndex == m_result.entities.size() - 1)
            m_result.entities.removeLast();
        return;
    }
    if (arc) {
        amendArc();
    } else if (marker == "AcDbLine") {
        readLine();
    } else if (marker == "AcDbCircle") {
        const int before = m_result.entities.size();
        readCircle(false);
        if (m_result.entities.size() > before)
            m_circleIndex = before;
    } else if (marker == "AcDbEllipse") {
        readEllipse();
    } else if (marker == "AcDbPolyline") {
        readLightweightPolyline();
    }
}

bool DxfReader::collectPairs()
{
    m_pairs.clear();
    QByteArray line;
    QByteArray value;
    while (m_lines->next(line)) {
        const std::optional<int> code = groupCode(line);
        if (!code || *code == 0) {
            m_lines->pushBack();
            return true;
        }
        if (!m_lines->next(value))
            return false;
        m_pairs.append({*code, value});
    }
    return false;
}

bool DxfReader::numbers(std::initializer_list<std::pair<int, double*>> wanted) const
{
    bool valid = true;
    for (const Pair& pair : m_pairs) {
        for (const auto& [code, target] : wanted) {
            if (pair.code != code)
                continue;
            const std::optional<double> x = number(pair.value);
            valid = valid && x;
            *target = x.value_or(0);
        }
    }
    return valid;
}

void DxfReader::append(const DrawingEntity& entity)
{
    m_result.entities.append(entity);
}

// An entity that the bulge or the scale has made infinite is left out, as
// one with a number that is not finite.
void DxfReader::scaleEntities(double millimetresPerUnit)
{
    const double factor = m_factor * millimetresPerUnit;
    QVector<DrawingEntity> scaled;
    scaled.reserve(m_result.entities.size());
    for (const DrawingEntity& entity : qAsConst(m_result.entities)) {
        DrawingEntity s = scaledEntity(entity, factor);
        if (hasUsableGeometry(s))
            scaled.append(std::move(s));
    }
    m_result.entities = std::move(scaled);
}

void DxfReader::readLine()
{
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    if (numbers({{10, &x1}, {20, &y1}, {11, &x2}, {21, &y2}}))
        append(lineEntity(x1, y1, x2, y2));
}

// Seen from below, the entity's own x axis runs along the drawing's -x, and
// its angles turn the other way.
void DxfReader::readCircle(bool withAngles)
{
    double cx = 0;
    double cy = 0;
    double r = 0;
    double start = 0;
    double end = 0;
    double extrusionZ = 1;
    const bool valid = withAngles ? numbers({{10, &cx}, {20, &cy}, {40, &r}, {50, &start}, {51, &end}, {230, &extrusionZ}})
                                  : numbers({{10, &cx}, {20, &cy}, {40, &r}, {230, &extrusionZ}});
    if (!valid || r <= 0)
        return;
    m_circleMirrored = extrusionZ < 0;
    if (m_circleMirrored)
        cx = -cx;
    if (!withAngles)
        append(circleEntity(cx, cy, r));
    else if (m_circleMirrored)
        append(arcEntity(cx, cy, r, 180 - end, 180 - start));
    else
        append(arcEntity(cx, cy, r, start, end));
}

// Only the circle read just before by its marker becomes an arc; without one
// the angles have nothing to belong to and are skipped.
void DxfReader::amendArc()
{
    const int circle = m_circleIndex;
    m_circleIndex = -1;
    double start = 0;
    double end = 0;
    const bool read = numbers({{50, &start}, {51, &end}});
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
    double cx = 0;
    double cy = 0;
    double mx = 0;
    double my = 0;
    double ratio = 0;
    const bool read = numbers({{10, &cx}, {20, &cy}, {11, &mx}, {21, &my}, {40, &ratio}});
    const double major = std::sqrt(mx * mx + my * my);
    if (!read || major <= 0 || ratio <= 0)
        return;
    const double minor = ratio * major;
    const bool alongX = std::abs(mx) >= std::abs(my);
    append(ellipseEntity(cx, cy, alongX ? major : minor, alongX ? minor : major));
}

// The vertex count (90) is not trusted: the vertices are those read up to the
// end of the entity; the extrusion comes after them.
void DxfReader::readLightweightPolyline()
{
    Polyline polyline;
    double extrusionZ = 1;
    double pendingX = 0;
    bool hasPendingX = false;
    bool valid = true;
    for (const Pair& pair : qAsConst(m_pairs)) {
        if (pair.code == 70) {
            const std::optional<int> f = integer(pair.value);
            valid = valid && f;
            polyline.flags = f.value_or(0);
            continue;
        }
        if (pair.code != 10 && pair.code != 20 && pair.code != 42 && pair.code != 230)
            continue;
        const std::optional<double> x = number(pair.value);
        valid = valid && x;
        if (!x)
            continue;
        if (pair.code == 10) {
            pendingX = *x;
            hasPendingX = true;
        } else if (pair.code == 20 && hasPendingX) {
            polyline.vertices.append({pendingX, *x, 0});
            hasPendingX = false;
        } else if (pair.code == 42 && !polyline.vertices.isEmpty()) {
            polyline.vertices.last().bulge = *x;
        } else if (pair.code == 230) {
            extrusionZ = *x;
        }
    }
    if (!valid)
        return;
    polyline.mirrored = extrusionZ < 0;
    m_polyline = std::make_unique<Polyline>(std::move(polyline));
    endPolyline();
}

// The flags decide whether the vertices make an outline at all; a 3D
// polyline is taken in its projection on the drawing's plane.
void DxfReader::startPolyline()
{
    double flags = 0;
    double extrusionZ = 1;
    if (!numbers({{70, &flags}, {230, &extrusionZ}}))
        return;
    const int bits = int(flags);
    if (bits & (kPolygonMesh | kPolyfaceMesh))
        return;
    m_polyline = std::make_unique<Polyline>();
    m_polyline->flags = bits;
    m_polyline->mirrored = extrusionZ < 0;
}

void DxfReader::addVertex()
{
    double x = 0;
    double y = 0;
    double bulge = 0;
    double flags = 0;
    if (!numbers({{10, &x}, {20, &y}, {42, &bulge}, {70, &flags}})) {
        m_polyline.reset();
        return;
    }
    if (int(flags) & kSplineFrameVertex)
        return;
    m_polyline->vertices.append({x, y, bulge});
}

// Mirrored vertices turn their bulges the other way.
void DxfReader::endPolyline()
{
    if (!m_polyline)
        return;
    const std::unique_ptr<Polyline> polyline = std::move(m_polyline);
    QVector<Vertex>& vertices = polyline->vertices;
    if (polyline->mirrored) {
        for (Vertex& v : vertices) {
            v.x = -v.x;
            v.bulge = -v.bulge;
        }
    }
    for (int i = 0; i + 1 < vertices.size(); ++i)
        append(polylineSegment(vertices.at(i), vertices.at(i + 1)));
    if (vertices.size() >= 2 && (polyline->flags & kClosed))
        append(polylineSegment(vertices.last(), vertices.first()));
}

} // namespace MeasurementMath
