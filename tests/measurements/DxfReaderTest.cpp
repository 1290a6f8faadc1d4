#include "measurements/math/DrawingEntity.h"
#include "measurements/math/DxfReader.h"

#include "DrawingChecks.h"
#include "DxfText.h"
#include "TestMain.h"

#include <QBuffer>
#include <QFile>

#include <cmath>

using namespace MeasurementMath;

using Entities = QVector<DrawingEntity>;
Q_DECLARE_METATYPE(Entities)

namespace {

DxfReadResult readBytes(QByteArray bytes, double factor = 1)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return DxfReader(&buffer, factor).read();
}

QByteArray fixture(const QString& name)
{
    QFile file(QStringLiteral(KALVORA_DXF_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

int lineCount(const QByteArray& bytes)
{
    return bytes.count('\n');
}

const Entities kSquareLines{lineEntity(0, 0, 10, 0), lineEntity(10, 0, 10, 10), lineEntity(10, 10, 0, 10)};

} // namespace

class DxfReaderTest : public QObject
{
    Q_OBJECT
private slots:
    void readableFiles_data();
    void readableFiles();
    void drawingsAsDrawn_data();
    void drawingsAsDrawn();
    void infiniteGeometryLeftOut_data();
    void infiniteGeometryLeftOut();
    void drawingUnits_data();
    void drawingUnits();
    void unreadableFiles_data();
    void unreadableFiles();
    void lineEnds_data();
    void lineEnds();
    void unitFactorScalesCoordinatesNotAngles();
    void cutFileKeepsCompleteEntities();
};

void DxfReaderTest::readableFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Entities>("expected");

    QTest::newRow("bare words") << "minimal.dxf" << Entities{lineEntity(0, 0, 10, 0)};
    QTest::newRow("circle, arc 0 to 90") << "circle_and_arc.dxf"
                                         << Entities{circleEntity(0, 0, 10), arcEntity(20, 0, 5, 0, 90)};
    QTest::newRow("arcs across 0 degrees")
        << "arcs_across_zero.dxf" << Entities{{kCircleTag, {0, 0, 10, 270, 450}}, {kCircleTag, {50, 0, 10, 270, 360}}};
    QTest::newRow("arc seen from below is mirrored")
        << "arc_extrusion_down.dxf" << Entities{{kCircleTag, {-20, 5, 10, 90, 180}}};
    QTest::newRow("closed polyline") << "polyline_closed.dxf" << kSquareLines + Entities{lineEntity(0, 10, 0, 0)};
    QTest::newRow("open polyline") << "polyline_open.dxf" << kSquareLines;
    QTest::newRow("linetype flag does not close") << "polyline_linetype_flag.dxf" << kSquareLines;
    QTest::newRow("bulge makes a half circle")
        << "polyline_bulge.dxf" << Entities{{kCircleTag, {5, 0, 5, 180, 360}}, lineEntity(10, 0, 10, 10)};
    QTest::newRow("vertex count 0 is not trusted")
        << "polyline_count_zero.dxf"
        << Entities{lineEntity(0, 0, 10, 0), lineEntity(10, 0, 10, 10), lineEntity(0, 20, 10, 20)};
    QTest::newRow("vertex count 2e9 over 3 vertices")
        << "polyline_count_huge.dxf"
        << Entities{lineEntity(0, 0, 10, 0), lineEntity(10, 0, 10, 10), lineEntity(10, 10, 0, 0),
                    lineEntity(0, 20, 10, 20)};
    QTest::newRow("ellipse along x") << "ellipse.dxf" << Entities{ellipseEntity(1, 2, 5, 2.5)};
    QTest::newRow("ellipse along y") << "ellipse_vertical.dxf" << Entities{ellipseEntity(1, 2, 2, 4)};
    QTest::newRow("arc without a circle is skipped") << "arc_first.dxf" << Entities{lineEntity(0, 0, 10, 0)};
    QTest::newRow("z value 40 is no radius code") << "z_value_40.dxf" << Entities{lineEntity(1, 2, 3, 4)};
    QTest::newRow("nan drops its entity") << "nan_value.dxf" << Entities{lineEntity(0, 5, 10, 5)};
    QTest::newRow("abc drops its entity") << "abc_value.dxf" << Entities{lineEntity(0, 5, 10, 5)};
    QTest::newRow("R2000 with every section")
        << "r2000_sections.dxf" << Entities{lineEntity(0, 0, 10, 0), circleEntity(5, 5, 2)};
    QTest::newRow("R12, no subclass markers") << "r12.dxf" << Entities{lineEntity(0, 0, 10, 0)};
}

void DxfReaderTest::readableFiles()
{
    QFETCH(QString, file);
    QFETCH(Entities, expected);

    const DxfReadResult result = readBytes(fixture(file));
    QVERIFY2(result.isReadable(), qPrintable(result.errorText()));
    QVERIFY2(sameEntities(result.entities, expected, 1e-9), qPrintable(describe(result.entities)));
}

// Drawings as CAD programs write them, each entity checked against its exact
// geometry.
void DxfReaderTest::drawingsAsDrawn_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Entities>("expected");

    // A closed polyline gets its closing segment whatever its vertex count.
    const Entities fullCircle{{kCircleTag, {5, 0, 5, 180, 360}}, {kCircleTag, {5, 0, 5, 0, 180}}};
    QTest::newRow("closed 2 vertices, bulges 1 and 1: a full circle")
        << dxfEntities(QStringLiteral("0 LWPOLYLINE 100 AcDbEntity 8 0 100 AcDbPolyline 90 2 70 1 10 0 20 0 42 1 10 10 20 0 42 1")) << fullCircle;
    QTest::newRow("closed 2 vertices, bulges 0 and 1: a D")
        << dxfEntities(QStringLiteral("0 LWPOLYLINE 100 AcDbEntity 8 0 100 AcDbPolyline 90 2 70 1 10 0 20 0 10 0 20 10 42 1"))
        << Entities{lineEntity(0, 0, 0, 10), {kCircleTag, {0, 5, 5, 90, 270}}};
    QTest::newRow("open 2 vertices, bulges 1 and 1: a half circle")
        << dxfEntities(QStringLiteral("0 LWPOLYLINE 100 AcDbEntity 8 0 100 AcDbPolyline 90 2 70 0 10 0 20 0 42 1 10 10 20 0 42 1"))
        << Entities{fullCircle.first()};
    QTest::newRow("R12 closed POLYLINE of 2 vertices")
        << dxfEntities(QStringLiteral("0 POLYLINE 8 0 66 1 10 0 20 0 30 0 70 1 0 VERTEX 8 0 10 0 20 0 42 1 "
                                      "0 VERTEX 8 0 10 10 20 0 42 1 0 SEQEND 8 0"))
        << fullCircle;

    // Seen from below (extrusion 0, 0, -1) everything drawn in the entity's
    // own plane is mirrored alike; lines are in world coordinates.
    QTest::newRow("mirrored polyline turns its bulge")
        << dxfEntities(QStringLiteral("0 LWPOLYLINE 100 AcDbEntity 8 0 100 AcDbPolyline 90 2 70 0 10 10 20 0 42 1 10 20 20 0 210 0 220 0 230 -1"))
        << Entities{{kCircleTag, {-15, 0, 5, 180, 360}}};
    QTest::newRow("mirrored drawing stays joined")
        << dxfEntities(QStringLiteral("0 LWPOLYLINE 100 AcDbEntity 8 0 100 AcDbPolyline 90 3 70 0 10 0 20 0 10 10 20 0 10 10 20 5 210 0 220 0 230 -1 "
                                      "0 ARC 100 AcDbEntity 100 AcDbCircle 10 15 20 5 30 0 40 5 210 0 220 0 230 -1 "
                                      "100 AcDbArc 50 180 51 270 "
                                      "0 CIRCLE 100 AcDbEntity 100 AcDbCircle 10 3 20 4 40 1 210 0 220 0 230 -1 "
                                      "0 LINE 100 AcDbEntity 100 AcDbLine 10 -1 20 2 11 -3 21 4 210 0 220 0 230 -1"))
        << Entities{lineEntity(0, 0, -10, 0), lineEntity(-10, 0, -10, 5), {kCircleTag, {-15, 5, 5, 270, 360}},
                    circleEntity(-3, 4, 1), lineEntity(-1, 2, -3, 4)};
    QTest::newRow("mirrored R12 POLYLINE")
        << dxfEntities(QStringLiteral("0 POLYLINE 66 1 70 0 210 0 220 0 230 -1 0 VERTEX 10 10 20 0 42 1 "
                                      "0 VERTEX 10 20 20 0 0 SEQEND"))
        << Entities{{kCircleTag, {-15, 0, 5, 180, 360}}};

    // Only "0 SECTION", "2 ENTITIES" opens the entities.
    const QByteArray circle = dxfSection(QStringLiteral("ENTITIES"), QStringLiteral("0 CIRCLE 8 ENTITIES 100 AcDbCircle 10 5 20 5 40 2"));
    QTest::newRow("layer named ENTITIES")
        << dxfFile(dxfSection(QStringLiteral("TABLES"),
                              QStringLiteral("0 TABLE 2 LAYER 70 1 0 LAYER 2 ENTITIES 70 0 62 7 6 CONTINUOUS 0 ENDTAB"))
                   + circle)
        << Entities{circleEntity(5, 5, 2)};
    QTest::newRow("block named ENTITIES")
        << dxfFile(dxfSection(QStringLiteral("BLOCKS"),
                              QStringLiteral("0 BLOCK 8 0 2 ENTITIES 70 0 10 0 20 0 30 0 3 ENTITIES "
                                             "0 LINE 8 0 100 AcDbEntity 100 AcDbLine 10 100 20 100 11 200 21 100 "
                                             "0 ENDBLK 8 0"))
                   + circle)
        << Entities{circleEntity(5, 5, 2)};

    // R12: the entities by their type names, without subclass markers.
    QTest::newRow("R12 line, arc, circle, polyline")
        << dxfEntities(QStringLiteral("0 LINE 8 0 10 0 20 0 11 10 21 0 0 ARC 8 0 10 20 20 0 40 5 50 0 51 90 "
                                      "0 CIRCLE 8 0 10 0 20 0 40 10 0 POLYLINE 8 0 66 1 70 1 "
                                      "0 VERTEX 8 0 10 0 20 20 0 VERTEX 8 0 10 10 20 20 0 VERTEX 8 0 10 10 20 30 "
                                      "0 SEQEND 8 0"))
        << Entities{lineEntity(0, 0, 10, 0),   arcEntity(20, 0, 5, 0, 90),      circleEntity(0, 0, 10),
                    lineEntity(0, 20, 10, 20), lineEntity(10, 20, 10, 30), lineEntity(10, 30, 0, 20)};
    QTest::newRow("R12 polyface mesh is no outline")
        << dxfEntities(QStringLiteral("0 POLYLINE 66 1 70 64 0 VERTEX 10 0 20 0 70 192 0 VERTEX 10 5 20 5 70 192 "
                                      "0 SEQEND 0 LINE 10 0 20 0 11 1 21 0"))
        << Entities{lineEntity(0, 0, 1, 0)};
    QTest::newRow("R12 spline frame vertex is no point of it")
        << dxfEntities(QStringLiteral("0 POLYLINE 66 1 70 4 0 VERTEX 10 5 20 9 70 16 0 VERTEX 10 0 20 0 70 8 "
                                      "0 VERTEX 10 10 20 0 70 8 0 SEQEND"))
        << Entities{lineEntity(0, 0, 10, 0)};

    // A bulge of rounding noise (the sine of pi) leaves the segment straight;
    // a real bulge of 1e-3 is an arc whose included angle is 4 atan(1e-3) and
    // whose middle lies 0.005 (half the bulge times the chord) off the chord.
    const auto bulged = [](const QString& bulge) {
        return dxfEntities(
            QStringLiteral("0 LWPOLYLINE 100 AcDbPolyline 90 2 70 0 10 0 20 0 42 %1 10 10 20 0").arg(bulge));
    };
    const Entities straight{lineEntity(0, 0, 10, 0)};
    QTest::newRow("bulge of noise 1.2e-16: a line") << bulged(QStringLiteral("1.2246467991473532e-16")) << straight;
    QTest::newRow("bulge of noise -1e-13: a line") << bulged(QStringLiteral("-1e-13")) << straight;
    const double r = 2500.0025;
    const double halfAngle = 2 * std::atan(1e-3) * 180 / M_PI;
    QTest::newRow("bulge 1e-3: an arc below the chord")
        << bulged(QStringLiteral("1e-3"))
        << Entities{{kCircleTag, {5, r - 0.005, r, 270 - halfAngle, 270 + halfAngle}}};
    QTest::newRow("bulge -1e-3: an arc above the chord")
        << bulged(QStringLiteral("-1e-3"))
        << Entities{{kCircleTag, {5, 0.005 - r, r, 90 - halfAngle, 90 + halfAngle}}};
    QTest::newRow("R12 vertex bulge of noise: a line")
        << dxfEntities(QStringLiteral("0 POLYLINE 66 1 70 0 0 VERTEX 10 0 20 0 42 1.2246467991473532e-16 "
                                      "0 VERTEX 10 10 20 0 0 SEQEND"))
        << straight;

    // Comments are skipped wherever they stand.
    QTest::newRow("comment between SECTION and its name")
        << dxfPairs(QStringLiteral("999 written 0 SECTION 999 by 2 ENTITIES 0 LINE 10 0 20 0 11 10 21 0 "
                                   "0 ENDSEC 0 EOF"))
        << straight;
    QTest::newRow("comments inside entities and before ENDSEC")
        << dxfEntities(QStringLiteral("0 LINE 999 ENDSEC 10 0 20 0 999 21 11 10 21 0 999 0 "
                                      "0 LWPOLYLINE 100 AcDbPolyline 90 2 70 0 10 0 20 5 999 note 10 10 20 5 "
                                      "999 ENTITIES"))
        << Entities{lineEntity(0, 0, 10, 0), lineEntity(0, 5, 10, 5)};
    QTest::newRow("comment between a header variable and its value")
        << dxfFile(dxfSection(QStringLiteral("HEADER"), QStringLiteral("9 $INSUNITS 999 inches 70 1"))
                   + dxfSection(QStringLiteral("ENTITIES"), QStringLiteral("0 LINE 10 0 20 0 11 1 21 0")))
        << Entities{lineEntity(0, 0, 25.4, 0)};
}

void DxfReaderTest::drawingsAsDrawn()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Entities, expected);

    const DxfReadResult result = readBytes(bytes);
    QVERIFY2(result.isReadable(), qPrintable(result.errorText()));
    QVERIFY2(sameEntities(result.entities, expected, 1e-9), qPrintable(describe(result.entities)));
}

// Finite numbers whose entity is not finite once its bulge and unit are
// applied: the entity is left out, the others stay.
void DxfReaderTest::infiniteGeometryLeftOut_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<double>("unitFactor");
    QTest::addColumn<Entities>("expected");

    const QString line = QStringLiteral(" 0 LINE 10 0 20 0 11 1 21 0");
    QTest::newRow("bulge 1e200")
        << dxfEntities(
               QStringLiteral("0 LWPOLYLINE 100 AcDbPolyline 90 3 70 0 10 0 20 0 42 1e200 10 10 20 0 10 10 20 10"))
        << 1.0 << Entities{lineEntity(10, 0, 10, 10)};
    QTest::newRow("line at 1e307 inches") << dxfInUnits(1, QStringLiteral("0 LINE 10 1e307 20 0 11 0 21 0") + line)
                                          << 1.0 << Entities{lineEntity(0, 0, 25.4, 0)};
    QTest::newRow("circle of radius 1e307 inches")
        << dxfInUnits(1, QStringLiteral("0 CIRCLE 10 0 20 0 40 1e307") + line) << 1.0
        << Entities{lineEntity(0, 0, 25.4, 0)};
    QTest::newRow("arc at 1e303 mm in nanometres")
        << dxfEntities(QStringLiteral("0 ARC 10 1e303 20 0 40 1 50 0 51 90") + line) << 1e6
        << Entities{lineEntity(0, 0, 1e6, 0)};
}

void DxfReaderTest::infiniteGeometryLeftOut()
{
    QFETCH(QByteArray, bytes);
    QFETCH(double, unitFactor);
    QFETCH(Entities, expected);

    const DxfReadResult result = readBytes(bytes, unitFactor);
    QVERIFY2(result.isReadable(), qPrintable(result.errorText()));
    QVERIFY2(sameEntities(result.entities, expected, 1e-9), qPrintable(describe(result.entities)));
}

void DxfReaderTest::drawingUnits_data()
{
    QTest::addColumn<int>("insunits");
    QTest::addColumn<double>("millimetres");

    QTest::newRow("0, no unit: millimetres") << 0 << 1.0;
    QTest::newRow("inches") << 1 << 25.4;
    QTest::newRow("feet") << 2 << 304.8;
    QTest::newRow("millimetres") << 4 << 1.0;
    QTest::newRow("centimetres") << 5 << 10.0;
    QTest::newRow("metres") << 6 << 1000.0;
    QTest::newRow("micrometres") << 13 << 0.001;
}

// Lengths are scaled from the header's unit, then to the display unit;
// angles are not.
void DxfReaderTest::drawingUnits()
{
    QFETCH(int, insunits);
    QFETCH(double, millimetres);

    const DxfReadResult result =
        readBytes(dxfInUnits(insunits, QStringLiteral("0 LINE 100 AcDbLine 10 0 20 0 11 2 21 0 0 ARC 100 AcDbCircle "
                                                      "10 1 20 0 40 1 100 AcDbArc 50 0 51 90")),
                  1000);
    QVERIFY2(result.isReadable(), qPrintable(result.errorText()));
    const double f = 1000 * millimetres;
    const Entities expected{lineEntity(0, 0, 2 * f, 0), {kCircleTag, {f, 0, f, 0, 90}}};
    QVERIFY2(sameEntities(result.entities, expected, 1e-9), qPrintable(describe(result.entities)));
}

void DxfReaderTest::unreadableFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");

    QTest::newRow("drawing in miles") << dxfInUnits(3, QStringLiteral("0 LINE 10 0 20 0 11 1 21 0")) << 8
                                      << "$INSUNITS = 3";
    QTest::newRow("drawing unit not a number")
        << dxfFile(dxfSection(QStringLiteral("HEADER"), QStringLiteral("9 $INSUNITS 70 mm"))
                   + dxfSection(QStringLiteral("ENTITIES"), QStringLiteral("0 LINE 10 0 20 0 11 1 21 0")))
        << 8 << "$INSUNITS = mm";
    QTest::newRow("binary DXF") << fixture(QStringLiteral("binary_header.dxf")) << 1 << "двоичном DXF";
    QTest::newRow("DWG") << fixture(QStringLiteral("dwg_header.dxf")) << 1 << "DWG";
    QTest::newRow("no ENTITIES section") << QByteArray("0\nSECTION\n2\nHEADER\n0\nENDSEC\n0\nEOF\n") << 8
                                         << "нет ни отрезков";
    QTest::newRow("empty file") << QByteArray() << 0 << "нет ни отрезков";
    QTest::newRow("only infinite geometry") << dxfInUnits(1, QStringLiteral("0 LINE 10 1e307 20 0 11 0 21 0")) << 26
                                            << "нет ни отрезков";
    QTest::newRow("no ENDSEC") << QByteArray("ENTITIES\nAcDbLine\n10\n0\n20\n0\n11\n1\n21\n1\n") << 10
                               << "обрывается";
    QTest::newRow("NUL bytes in the text") << QByteArray("0\nSECTION\n2\nENTI\0TIES\n", 22) << 4 << "двоичные";
}

void DxfReaderTest::unreadableFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(QString, reason);

    const DxfReadResult result = readBytes(bytes);
    QVERIFY(!result.isReadable());
    QCOMPARE(result.errorLine, line);
    QVERIFY2(result.errorText().contains(reason), qPrintable(result.errorText()));
    QVERIFY(result.errorText().contains(QString::number(line)));
    QVERIFY(result.entities.isEmpty());
}

void DxfReaderTest::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray lf = fixture(QStringLiteral("minimal.dxf"));
    QTest::newRow("LF") << lf;
    QTest::newRow("CRLF") << QByteArray(lf).replace("\n", "\r\n");
    QTest::newRow("CR only") << QByteArray(lf).replace("\n", "\r");
    QTest::newRow("blanks around every line") << QByteArray(lf).replace("\n", " \n\t ");
    QTest::newRow("no end after the last line") << lf.chopped(1);
}

void DxfReaderTest::lineEnds()
{
    QFETCH(QByteArray, bytes);

    const DxfReadResult result = readBytes(bytes);
    QVERIFY2(result.isReadable(), qPrintable(result.errorText()));
    QCOMPARE(result.entities, Entities{lineEntity(0, 0, 10, 0)});
}

void DxfReaderTest::unitFactorScalesCoordinatesNotAngles()
{
    QCOMPARE(readBytes(fixture(QStringLiteral("minimal.dxf")), 1000).entities,
             Entities{lineEntity(0, 0, 10000, 0)});
    const Entities arcs = readBytes(fixture(QStringLiteral("circle_and_arc.dxf")), 1000).entities;
    QVERIFY2(sameEntities(arcs, Entities{circleEntity(0, 0, 10000), arcEntity(20000, 0, 5000, 0, 90)}, 1e-9),
             qPrintable(describe(arcs)));
    QCOMPARE(readBytes(fixture(QStringLiteral("ellipse.dxf")), 1000).entities,
             Entities{ellipseEntity(1000, 2000, 5000, 2500)});
}

void DxfReaderTest::cutFileKeepsCompleteEntities()
{
    const QByteArray bytes = fixture(QStringLiteral("cut_mid_entity.dxf"));
    const DxfReadResult result = readBytes(bytes);
    QCOMPARE(result.entities, Entities{lineEntity(0, 0, 10, 0)});
    QVERIFY(!result.isReadable());
    QVERIFY(result.errorText().contains(QStringLiteral("обрывается")));
    QCOMPARE(result.errorLine, lineCount(bytes));
}

KALVORA_TEST_MAIN(DxfReaderTest)
#include "DxfReaderTest.moc"
