#pragma once

#include "DrawingEntity.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <initializer_list>
#include <memory>
#include <utility>

class QIODevice;

namespace MeasurementMath {

class DxfLineReader;

// What a DXF file gave: the entities read and, when the file cannot be used
// as a drawing, why, with the number of the line where that showed.
struct DxfReadResult
{
    QVector<DrawingEntity> entities;
    QString error;
    int errorLine = 0;

    bool isReadable() const { return error.isEmpty(); }
    // The reason as the status line shows it; empty for a readable file.
    QString errorText() const;
};

// Reads the lines, arcs, circles, ellipses and polylines (LWPOLYLINE, and
// POLYLINE with its VERTEX entities up to SEQEND) of the ENTITIES section of
// an ASCII DXF file, by their entity type names, so that R12 files without
// subclass markers read as well. Only the section opened by "0 SECTION",
// "2 ENTITIES" is read: the names of layers and blocks are no section
// names, and the entities inside block definitions are skipped with the
// BLOCKS section. Coordinates are scaled from the unit of the header's
// $INSUNITS (0, no unit, is taken as millimetres) to millimetres, then by the
// unit factor; a unit that cannot be taken refuses the file.
//
// The file is read as code/value line pairs. A line where a code is due that
// is not an integer is taken as a word of its own: "ENTITIES" and "ENDSEC",
// and the subclass markers "AcDbLine", "AcDbCircle" (with "AcDbArc" after
// it), "AcDbEllipse" and "AcDbPolyline" followed by their pairs, so that a
// bare list of markers and pairs reads as well. An entity ends at the next
// code 0 or such a word. Comments (999) are skipped wherever they stand. An
// entity with a value that is not a finite number, a radius or an axis that
// is not positive, or that the end of the file cuts off is left out, and so
// is one whose geometry is no longer finite once its bulge and units are
// applied.
//
// Polyline bulges become arcs, except a bulge of rounding noise, whose arc
// would lie within a negligible distance of its chord; a closed polyline of
// two or more vertices gets its closing segment, or arc from the last
// vertex's bulge. Circles, arcs and polylines, whose coordinates are in the
// entity's own plane, are mirrored (x to -x, arcs turning the other way) when
// their extrusion points down the z axis; lines and ellipses are written in
// world coordinates and need no mirroring. Ellipses are taken whole, with
// their axes along x and y; polygon and polyface meshes are skipped.
class DxfReader
{
public:
    DxfReader(QIODevice* device, double unitFactor);
    ~DxfReader();

    DxfReadResult read();

private:
    struct Pair
    {
        int code;
        QByteArray value;
    };
    struct Polyline;
    enum class Section { None, Header, Entities, Other };

    void fail(const QString& reason, int line);
    bool isUsableText();
    // False when the file cannot be read on.
    bool takePair(int code, const QByteArray& value);
    bool readHeaderVariable(int code, const QByteArray& value);
    void endEntities();
    void readTypedEntity(const QByteArray& type);
    void readMarkedEntity(const QByteArray& marker);
    // The pairs of one entity into m_pairs, up to a code 0 or a line that is
    // no code, which is left for the scan; false when the file ends first.
    bool collectPairs();
    // The values of the wanted codes of the collected pairs into their
    // numbers (the last of a repeated code); false when one is not a finite
    // number.
    bool numbers(std::initializer_list<std::pair<int, double*>> wanted) const;
    void readLine();
    void readCircle(bool withAngles);
    void amendArc();
    void readEllipse();
    void readLightweightPolyline();
    void startPolyline();
    void addVertex();
    void endPolyline();
    void append(const DrawingEntity& entity);
    void scaleEntities(double millimetresPerUnit);

    std::unique_ptr<DxfLineReader> m_lines;
    double m_factor;
    DxfReadResult m_result;
    QVector<Pair> m_pairs;
    Section m_section = Section::None;
    bool m_sectionNameDue = false;
    bool m_entitiesEnded = false;
    QByteArray m_headerVariable;
    double m_millimetresPerUnit = 1;
    // The circle just read by its marker, which a following "AcDbArc" turns
    // into an arc.
    int m_circleIndex = -1;
    bool m_circleMirrored = false;
    // The POLYLINE whose VERTEX entities are being read.
    std::unique_ptr<Polyline> m_polyline;
};

} // namespace MeasurementMath
