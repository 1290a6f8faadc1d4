#include "WorkspaceScene.h"

#include "measurements/ComparePlaneDXF.h"
#include "measurements/DxfDrawing.h"
#include "measurements/math/DrawingGeometry.h"
#include "plot/QCPItemArc.h"

#include "DrawingChecks.h"
#include "DxfText.h"
#include "MessageBoxAnswerer.h"
#include "SettingsFixture.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QStatusBar>

#include <cmath>

using namespace MeasurementMath;

using Entities = QVector<DrawingEntity>;
Q_DECLARE_METATYPE(Entities)

namespace {

const QString kFirstPrompt = QStringLiteral("Выберите первую точку на трассе");

// The plot item draws the entity: a line between its ends, an arc item over
// the circle's square with the arc's angles in sixteenths of a degree.
bool itemDraws(const QCPAbstractItem* item, const DrawingEntity& e, double tolerance)
{
    const QVector<double>& p = e.parameters;
    if (isLine(e)) {
        const auto* line = qobject_cast<const QCPItemLine*>(item);
        return line && QLineF(line->start->coords(), QPointF(p[0], p[1])).length() <= tolerance
               && QLineF(line->end->coords(), QPointF(p[2], p[3])).length() <= tolerance;
    }
    const auto* arc = qobject_cast<const QCPItemArc*>(item);
    if (!arc || !isCircleOrArc(e))
        return false;
    const bool square = QLineF(arc->topLeft->coords(), QPointF(p[0] - p[2], p[1] + p[2])).length() <= tolerance
                        && QLineF(arc->bottomRight->coords(), QPointF(p[0] + p[2], p[1] - p[2])).length() <= tolerance;
    if (!isArc(e))
        return square && arc->startAngle == 0 && arc->spanAngle == 5760;
    return square && arc->startAngle == int(p[3] * 16) && arc->spanAngle == int(p[4] * 16 - p[3] * 16);
}

Entities scaled(const Entities& entities, double factor)
{
    Entities result;
    for (const DrawingEntity& e : entities)
        result.append(scaledEntity(e, factor));
    return result;
}

// A contour tab whose drawings are imported as the user imports them: the
// DXF frame's button, a press on the plot, the file typed into the dialog.
struct DrawingTab
{
    explicit DrawingTab(const QVector<QPointF>& traceMillimetres)
        : scene({traceThrough(micrometres(traceMillimetres))})
    {
    }

    static QVector<QPointF> micrometres(const QVector<QPointF>& points)
    {
        QVector<QPointF> result;
        for (const QPointF& p : points)
            result.append(p * 1000);
        return result;
    }

    ComparePlaneDXF* import(const QByteArray& dxf, const QString& name, const QPointF& pressAt)
    {
        const QString path = QDir::current().filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(dxf) != dxf.size())
            qFatal("cannot write %s", qPrintable(path));
        file.close();
        MessageBoxAnswerer answerer;
        answerer.onDialog([path](QWidget* dialog) { MessageBoxAnswerer::chooseFile(dialog, path); });
        scene.choose(QStringLiteral("actionDXF"), QStringLiteral("pushButtonDXFPlane"));
        scene.clickAt(pressAt.x(), pressAt.y());
        return dynamic_cast<ComparePlaneDXF*>(scene.manager()->currentMeasurement());
    }

    const DxfDrawing& drawing() const { return scene.manager()->drawing(); }

    // Every stored entity is drawn by its item, on this tab's plot.
    bool itemsDrawEntities(double tolerance) const
    {
        for (int i = 0; i < drawing().entityCount(); ++i) {
            const QCPAbstractItem* item = drawing().item(i);
            if (!item || item->parentPlot() != scene.plot()
                || !itemDraws(item, drawing().entities().at(i), tolerance))
                return false;
        }
        return true;
    }

    WorkspaceScene scene;
};

const QVector<QPointF> kFlat = sampled({{0, 0}, {40, 0}}, 0.5);

// A contour of 0..40 mm: flat, a half circle of radius 5 over 20..30, flat.
QVector<QPointF> bumpTrace()
{
    QVector<QPointF> points = sampled({{0, 0}, {20, 0}}, 0.05);
    for (int k = 1; k < 200; ++k) {
        const double a = M_PI * (1 - k / 200.0);
        points.append(QPointF(25 + 5 * std::cos(a), 5 * std::sin(a)));
    }
    points += sampled({{30, 0}, {40, 0}}, 0.05);
    return points;
}

} // namespace

class DrawingImportTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { loadSettingsFile(); }
    void cleanup() { setAxisUnit(0); }

    void importedAsDrawn_data();
    void importedAsDrawn();
    void tabsKeepTheirOwnDrawings();
    void fittedMirroredInchDrawing();
};

void DrawingImportTest::importedAsDrawn_data()
{
    QTest::addColumn<QByteArray>("dxf");
    QTest::addColumn<int>("unit");
    QTest::addColumn<Entities>("expected");

    QTest::newRow("full circle of a closed 2-vertex polyline")
        << dxfEntities(QStringLiteral("0 LWPOLYLINE 100 AcDbEntity 8 0 100 AcDbPolyline 90 2 70 1 "
                                      "10 10 20 0 42 1 10 20 20 0 42 1"))
        << 0 << Entities{{kCircleTag, {15, 0, 5, 180, 360}}, {kCircleTag, {15, 0, 5, 0, 180}}};
    QTest::newRow("D of a closed 2-vertex polyline")
        << dxfEntities(QStringLiteral("0 LWPOLYLINE 100 AcDbEntity 8 0 100 AcDbPolyline 90 2 70 1 "
                                      "10 10 20 0 10 10 20 10 42 1"))
        << 0 << Entities{lineEntity(10, 0, 10, 10), {kCircleTag, {10, 5, 5, 90, 270}}};
    QTest::newRow("mirrored drawing")
        << dxfEntities(QStringLiteral("0 LWPOLYLINE 100 AcDbEntity 100 AcDbPolyline 90 3 70 0 10 -10 20 0 10 -20 20 0 "
                                      "10 -20 20 5 210 0 220 0 230 -1 0 ARC 100 AcDbEntity 100 AcDbCircle 10 -25 20 5 "
                                      "40 5 210 0 220 0 230 -1 100 AcDbArc 50 270 51 360"))
        << 0
        << Entities{lineEntity(10, 0, 20, 0), lineEntity(20, 0, 20, 5), {kCircleTag, {25, 5, 5, 180, 270}}};
    QTest::newRow("layer named ENTITIES")
        << dxfFile(dxfSection(QStringLiteral("TABLES"),
                              QStringLiteral("0 TABLE 2 LAYER 70 1 0 LAYER 2 ENTITIES 70 0 0 ENDTAB"))
                   + dxfSection(QStringLiteral("ENTITIES"),
                                QStringLiteral("0 LINE 8 ENTITIES 100 AcDbEntity 100 AcDbLine 10 0 20 0 11 40 21 0")))
        << 0 << Entities{lineEntity(0, 0, 40, 0)};
    QTest::newRow("R12 file")
        << dxfEntities(QStringLiteral("0 LINE 8 0 10 0 20 0 11 10 21 0 0 ARC 8 0 10 20 20 0 40 5 50 0 51 90 "
                                      "0 CIRCLE 8 0 10 30 20 0 40 2 0 POLYLINE 8 0 66 1 70 0 "
                                      "0 VERTEX 8 0 10 35 20 0 0 VERTEX 8 0 10 40 20 5 0 SEQEND 8 0"))
        << 0
        << Entities{lineEntity(0, 0, 10, 0), arcEntity(20, 0, 5, 0, 90), circleEntity(30, 0, 2),
                    lineEntity(35, 0, 40, 5)};
    QTest::newRow("inch drawing, micrometre display")
        << dxfInUnits(1, QStringLiteral("0 LINE 100 AcDbLine 10 0 20 0 11 1 21 0 0 CIRCLE 100 AcDbCircle "
                                        "10 1 20 0 40 0.25"))
        << 1 << Entities{lineEntity(0, 0, 25.4, 0), circleEntity(25.4, 0, 6.35)};
}

// Each drawing, read through the comparison, is stored and drawn entity by
// entity as it was drawn, and the comparison asks for its first point.
void DrawingImportTest::importedAsDrawn()
{
    QFETCH(QByteArray, dxf);
    QFETCH(int, unit);
    QFETCH(Entities, expected);

    setAxisUnit(unit);
    const double f = unit == 0 ? 1 : 1000;
    DrawingTab tab(kFlat);
    ComparePlaneDXF* comparison = tab.import(dxf, QStringLiteral("drawing.dxf"), QPointF(10 * f, 0));
    QVERIFY(comparison);
    QVERIFY2(comparison->loadError().isEmpty(), qPrintable(comparison->loadError()));
    QTRY_COMPARE(tab.scene.widget->findChild<QStatusBar*>()->currentMessage(), kFirstPrompt);
    QCOMPARE(comparison->state(), 0);
    QVERIFY2(sameEntities(tab.drawing().entities(), scaled(expected, f), 1e-9 * f),
             qPrintable(describe(tab.drawing().entities())));
    QVERIFY(tab.itemsDrawEntities(1e-9 * f));
    QVERIFY(comparison->reperPointCount() > 0);
}

// Each tab has its own drawing: importing, fitting and deleting in the
// second tab leave the first tab's drawing, items and fit alone.
void DrawingImportTest::tabsKeepTheirOwnDrawings()
{
    setAxisUnit(0);
    DrawingTab first(kFlat);
    ComparePlaneDXF* firstComparison = first.import(
        dxfEntities(QStringLiteral("0 LINE 100 AcDbLine 10 0 20 1 11 40 21 1")), QStringLiteral("first.dxf"), {10, 0});
    QVERIFY(firstComparison);
    const Entities firstDrawing = first.drawing().entities();
    QCOMPARE(firstDrawing, Entities{lineEntity(0, 1, 40, 1)});

    DrawingTab second(kFlat);
    ComparePlaneDXF* secondComparison =
        second.import(dxfEntities(QStringLiteral("0 CIRCLE 100 AcDbCircle 10 20 20 -5 40 5")),
                      QStringLiteral("second.dxf"), {10, 0});
    QVERIFY(secondComparison);
    QCOMPARE(second.drawing().entities(), Entities{circleEntity(20, -5, 5)});
    QCOMPARE(first.drawing().entities(), firstDrawing);
    QVERIFY(first.itemsDrawEntities(0));
    QVERIFY(second.itemsDrawEntities(0));

    // The second tab's fit: the circle's top onto the trace point (20, 0).
    second.scene.clickAt(20, 0);
    second.scene.clickAt(20, 0);
    QCOMPARE(secondComparison->state(), 2);
    QCOMPARE(second.drawing().entityCount(), 1);
    QCOMPARE(first.drawing().entities(), firstDrawing);
    double expectedError = 0;
    for (const QPointF& p : kFlat)
        expectedError += distanceToNearestEntity(second.drawing().entities(), p.x(), p.y());
    QCOMPARE(secondComparison->fitError(), expectedError);

    second.scene.manager()->removeMeasurement(secondComparison->id());
    QVERIFY(second.drawing().isEmpty());
    QVERIFY(!second.scene.manager()->hasDrawing());
    QVERIFY(first.scene.manager()->hasDrawing());
    QCOMPARE(first.drawing().entities(), firstDrawing);
    QVERIFY(first.itemsDrawEntities(0));
    QCOMPARE(first.scene.manager()->currentMeasurement(), firstComparison);
}

// The control road: a mirrored inch drawing of the contour, offset by
// (5, -3) mm, picked at a corner and fitted onto the trace; the deviation
// from the drawing then measures against it.
void DrawingImportTest::fittedMirroredInchDrawing()
{
    setAxisUnit(0);
    const QVector<QPointF> trace = bumpTrace();
    DrawingTab tab(trace);
    // World corners with the bulges of the segments they start (the bump is
    // clockwise from (20, 0) to (30, 0)), written in the mirrored entity's
    // own plane in inches.
    const struct
    {
        QPointF at;
        double bulge;
    } corners[] = {{{0, 0}, 0}, {{20, 0}, -1}, {{30, 0}, 0}, {{40, 0}, 0}};
    const QPointF offset(5, -3);
    QString pairs = QStringLiteral("0 LWPOLYLINE 100 AcDbEntity 100 AcDbPolyline 90 4 70 0");
    for (const auto& c : corners) {
        const QPointF p = (c.at + offset) / 25.4;
        pairs += QStringLiteral(" 10 %1 20 %2 42 %3").arg(-p.x(), 0, 'g', 17).arg(p.y(), 0, 'g', 17).arg(-c.bulge);
    }
    pairs += QStringLiteral(" 210 0 220 0 230 -1");
    ComparePlaneDXF* comparison = tab.import(dxfInUnits(1, pairs), QStringLiteral("bump.dxf"), {10, 0});
    QVERIFY(comparison);
    QCOMPARE(tab.drawing().entityCount(), 3);

    tab.scene.clickAt(20, 0);
    QCOMPARE(comparison->state(), 1);
    tab.scene.clickAt(25, -3);
    QCOMPARE(comparison->state(), 2);
    QCOMPARE(comparison->drawingPoint(), QPointF(25, -3));
    const Entities fitted{lineEntity(0, 0, 20, 0), {kCircleTag, {25, 0, 5, 0, 180}}, lineEntity(30, 0, 40, 0)};
    QVERIFY2(sameEntities(tab.drawing().entities(), fitted, 1e-9), qPrintable(describe(tab.drawing().entities())));
    QVERIFY(tab.itemsDrawEntities(1e-9));

    QVERIFY(tab.scene.button(QStringLiteral("pushButtonErrorPlane"))->isEnabled());
    tab.scene.choose(QStringLiteral("actionDXF"), QStringLiteral("pushButtonErrorPlane"));
    tab.scene.drag({21, 1}, {29, 1});
    tab.scene.clickAt(25, -8);
    Measurement* deviation = tab.scene.manager()->currentMeasurement();
    QVERIFY(deviation && deviation->isFinished());
    QVERIFY2(deviation->value() < 1e-6, qPrintable(deviation->valueText()));
}

KALVORA_TEST_MAIN(DrawingImportTest)
#include "DrawingImportTest.moc"
