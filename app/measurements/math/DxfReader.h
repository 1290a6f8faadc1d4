#pragma once

#include "DrawingEntity.h"

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

// Reads the lines, arcs, circles, ellipses and lightweight polylines of the
// ENTITIES section of an ASCII DXF file, found by their subclass markers
// ("AcDbLine", "AcDbCircle" with "AcDbArc", "AcDbEllipse", "AcDbPolyline"),
// coordinates multiplied by the unit factor. Everything else is skipped:
// the other sections (blocks included), other entities, handles, XDATA.
//
// The file is read as code/value line pairs; a line where a code is due that
// is not an integer is taken as a word of its own, so that a bare list of
// markers and pairs reads as well. An entity ends at the next code 0, code
// 100 or such a word. An entity with a value that is not a finite number, a
// radius or an axis that is not positive, or that the end of the file cuts
// off is left out. Polyline bulges become arcs; circles and arcs whose
// extrusion points down the z axis are mirrored into the drawing's plane.
// Ellipses are taken whole, with their axes along x and y.
class DxfReader
{
public:
    DxfReader(QIODevice* device, double unitFactor);
    ~DxfReader();

    DxfReadResult read();

private:
    void fail(const QString& reason, int line);
    bool isUsableText();
    void dispatch(const QByteArray& marker);
    template <typename OnPair>
    bool readEntityPairs(OnPair onPair);
    // The values of the wanted codes of one entity into their numbers; false
    // when the file cuts the entity off or a wanted value is not a finite
    // number.
    bool readNumbers(std::initializer_list<std::pair<int, double*>> wanted);
    void readLine();
    void readCircle();
    void readArc();
    void readEllipse();
    void readPolyline();
    void append(const DrawingEntity& entity);

    std::unique_ptr<DxfLineReader> m_lines;
    double m_factor;
    DxfReadResult m_result;
    // The circle just read, which a following "AcDbArc" turns into an arc.
    int m_circleIndex = -1;
    bool m_circleMirrored = false;
};

} // namespace MeasurementMath
