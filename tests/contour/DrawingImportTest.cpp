#include "WorkspaceScene.h"

#include "measurements/ComparePlaneDXF.h"
#include "measurements/DxfDrawing.h"
#include "measurements/math/DrawingGeometry.h"
#include "measurements/ReperPoint.h"
#include "plot/QCPItemArc.h"

#include "ControllerLink.h"
#include "DrawingChecks.h"
#include "DxfText.h"
#include "MessageBoxAnswerer.h"
#include "SettingsFixture.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <cmath>

using namespace MeasurementMath;

using Entities = QVector<DrawingEntity>;
Q_DECLARE_METATYPE(Entities)

namespace {

const QString kFirstPrompt = QStringLiteral("Выберите первую точку на трассе");
const QString kSecondPrompt = QStringLiteral("Выберите соответствующую ей точку на чертеже");

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
        pressWithDialog(pressAt);
        return dynamic_cast<ComparePlaneDXF*>(scene.manager()->currentMeasurement());
    }

    // The file dialog cancelled.
    void importNothing(const QPointF& pressAt)
    {
        MessageBoxAnswerer answerer;
        pressWithDialog(pressAt);
    }

    // The press that opens the file dialog. Once the dialog has gone, a
    // desktop's window system makes the tab's window active again (so that
    // its Escape works); the offscreen platform leaves no window active.
    void pressWithDialog(const QPointF& pressAt)
    {
        scene.choose(QStringLiteral("actionDXF"), QStringLiteral("pushButtonDXFPlane"));
        scene.clickAt(pressAt.x(), pressAt.y());
        if (!showActive(*scene.widget))
            qWarning("workspace window not active again");
    }

    // What an import may leave on the tab.
    struct Snapshot
    {
        Entities entities;
        int items = 0;
        int plottables = 0;
        int rows = 0;
        int measurements = 0;
        bool deviationEnabled = false;

        bool operator==(const Snapshot& o) const
        {
            return entities == o.entities && items == o.items && plottables == o.plottables && rows == o.rows
                   && measurements == o.measurements && deviationEnabled == o.deviationEnabled;
        }
    };

    Snapshot snapshot() const
    {
        Snapshot s;
        s.entities = drawing().entities();
        // The snap marker aside, which choosing a kind brings up.
        s.items = scene.plot()->itemCount() - (scene.plot()->hasSelectionMarker() ? 1 : 0);
        s.plottables = scene.plot()->plottableCount();
        for (QTreeWidgetItemIterator it(scene.tree()); *it; ++it)
            ++s.rows;
        s.measurements = scene.manager()->measurements().size();
        s.deviationEnabled = scene.button(QStringLiteral("pushButtonErrorPlane"))->isEnabled();
        return s;
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

QString describeSnapshot(const DrawingTab::Snapshot& s)
{
    return QStringLiteral("entities %1, items %2, plottables %3, rows %4, measurements %5, deviation button %6")
        .arg(describe(s.entities))
        .arg(s.items)
        .arg(s.plottables)
        .arg(s.rows)
        .arg(s.measurements)
        .arg(s.deviationEnabled);
}

bool samePoints(const QVector<QPointF>& a, const QVector<QPointF>& b, double tolerance)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (QLineF(a.at(i), b.at(i)).length() > tolerance)
            return false;
    }
    return true;
}

QVector<QPointF> positions(const Measurement* m)
{
    QVector<QPointF> result;
    for (const ReperPoint* point : m->reperPoints())
        result.append(point->position());
    return result;
}

struct Extent
{
    double xmin = 1e300, xmax = -1e300, ymin = 1e300, ymax = -1e300;

    void include(QPointF p)
    {
        xmin = std::min(xmin, p.x());
        xmax = std::max(xmax, p.x());
        ymin = std::min(ymin, p.y());
        ymax = std::max(ymax, p.y());
    }
    bool inside(const QCPRange& x, const QCPRange& y) const
    {
        return x.contains(xmin) && x.contains(xmax) && y.contains(ymin) && y.contains(ymax);
    }
};

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
    void drawingFollowsUnitChanges_data();
    void drawingFollowsUnitChanges();
    void promptStandsThroughUnitChange_data();
    void promptStandsThroughUnitChange();
    void failedImportLeavesTabAsBefore_data();
    void failedImportLeavesTabAsBefore();
    void escapeAbandonsUnfinishedComparison_data();
    void escapeAbandonsUnfinishedComparison();
    void importedDrawingInSight_data();
    void importedDrawingInSight();
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
    QTRY_COMPARE(tab.scene.statusLine(), kFirstPrompt);
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

void DrawingImportTest::drawingFollowsUnitChanges_data()
{
    QTest::addColumn<int>("picksInMillimetres");

    QTest::newRow("waiting for the trace point") << 0;
    QTest::newRow("waiting for the drawing point") << 1;
    QTest::newRow("fitted") << 2;
}

// A line 2 mm above the flat trace, its point (12, 2) picked onto the trace
// point (12, 0): the picks not made in millimetres are made in micrometres.
// In every unit the drawing, its items, its reference points and the trace
// point are where the unit puts them, and the fit lays the line on the trace.
void DrawingImportTest::drawingFollowsUnitChanges()
{
    QFETCH(int, picksInMillimetres);

    setAxisUnit(0);
    DrawingTab tab(kFlat);
    ComparePlaneDXF* comparison = tab.import(dxfEntities(QStringLiteral("0 LINE 100 AcDbLine 10 0 20 2 11 40 21 2")),
                                             QStringLiteral("line.dxf"), {10, 0});
    QVERIFY(comparison);
    const QPointF picks[] = {{12, 0}, {12, 2}};
    const auto pick = [&](int from, int to, double f) {
        for (int i = from; i < to; ++i)
            tab.scene.clickAt(picks[i].x() * f, picks[i].y() * f);
    };
    pick(0, picksInMillimetres, 1);
    QCOMPARE(comparison->state(), picksInMillimetres);

    const auto check = [&](double f) {
        const DrawingEntity expected =
            scaledEntity(comparison->state() == 2 ? lineEntity(0, 0, 40, 0) : lineEntity(0, 2, 40, 2), f);
        QVERIFY2(sameEntities(tab.drawing().entities(), {expected}, 1e-9 * f),
                 qPrintable(describe(tab.drawing().entities())));
        QVERIFY(tab.itemsDrawEntities(1e-9 * f));
        const QVector<QPointF> points = comparison->state() == 2 ? QVector<QPointF>() : entityReperPoints(expected);
        QVERIFY2(samePoints(positions(comparison), points, 1e-9 * f), qPrintable(QString::number(f)));
        if (comparison->state() > 0)
            QCOMPARE(comparison->tracePoint(), picks[0] * f);
    };
    for (int unit : {1, 2, 0}) {
        tab.scene.switchUnit(unit);
        const double f = unitFactor(unit);
        check(f);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("in unit %1").arg(unit)));
        if (unit == 1 && comparison->state() < 2) {
            pick(comparison->state(), 2, f);
            QCOMPARE(comparison->state(), 2);
            check(f);
        }
    }
}

void DrawingImportTest::promptStandsThroughUnitChange_data()
{
    QTest::addColumn<int>("picks");
    QTest::addColumn<QString>("prompt");

    QTest::newRow("waiting for the trace point") << 0 << kFirstPrompt;
    QTest::newRow("waiting for the drawing point") << 1 << kSecondPrompt;
    QTest::newRow("fitted") << 2 << QString();
}

// A height measured before the import is recalculated by the change to
// micrometres: its value does not replace the prompt of the comparison
// waiting for a point, and once nothing waits it shows in the new unit.
void DrawingImportTest::promptStandsThroughUnitChange()
{
    QFETCH(int, picks);
    QFETCH(QString, prompt);

    setAxisUnit(0);
    DrawingTab tab(bumpTrace());
    const Measurement* height = tab.scene.placeDistance(QStringLiteral("pushButtonVerticalDistance"), {10, 0},
                                                        {25, 5}, {35, 8});
    QVERIFY(height && height->isFinished());
    ComparePlaneDXF* comparison = tab.import(dxfEntities(QStringLiteral("0 LINE 100 AcDbLine 10 0 20 -3 11 40 21 -3")),
                                             QStringLiteral("line.dxf"), {10, 0});
    QVERIFY(comparison);
    QTRY_COMPARE(tab.scene.statusLine(), kFirstPrompt);
    const QPointF points[] = {{12, 0}, {12, -3}};
    for (int i = 0; i < picks; ++i)
        tab.scene.clickAt(points[i].x(), points[i].y());
    QCOMPARE(comparison->state(), picks);

    tab.scene.switchUnit(1);
    if (prompt.isEmpty()) {
        QVERIFY2(tab.scene.statusLine().startsWith(height->name() + QStringLiteral(": "))
                     && tab.scene.statusLine().endsWith(QStringLiteral("мкм")),
                 qPrintable(tab.scene.statusLine()));
    } else {
        QCOMPARE(tab.scene.statusLine(), prompt);
    }
}

void DrawingImportTest::failedImportLeavesTabAsBefore_data()
{
    QTest::addColumn<QByteArray>("dxf");
    QTest::addColumn<QString>("reason");

    QTest::newRow("dialog cancelled") << QByteArray() << QString();
    QTest::newRow("empty file") << QByteArray("") << "нет ни отрезков";
    QTest::newRow("ENTITIES ending at EOF")
        << dxfPairs(QStringLiteral("0 SECTION 2 ENTITIES 0 LINE 10 0 20 5 11 40 21 5 0 LINE 10 0 20 6 11 40 21 6 0 EOF"))
        << "обрывается";
    QTest::newRow("binary DXF") << QByteArray("AutoCAD Binary DXF\r\n\x1a\0\0\0SECTION", 32) << "двоичном";
    QTest::newRow("drawing in miles") << dxfInUnits(3, QStringLiteral("0 LINE 10 0 20 0 11 1 21 0"))
                                      << "$INSUNITS = 3";
    QTest::newRow("header without entities") << dxfFile(dxfSection(QStringLiteral("HEADER"), QString()))
                                             << "нет ни отрезков";
}

// On a tab without a drawing and on one whose drawing is fitted, the import
// leaves the store, the plot, the tree and the deviation button as they were,
// and the status line gives the reason.
void DrawingImportTest::failedImportLeavesTabAsBefore()
{
    QFETCH(QByteArray, dxf);
    QFETCH(QString, reason);

    setAxisUnit(0);
    DrawingTab tab(kFlat);
    for (bool fitted : {false, true}) {
        if (fitted) {
            QVERIFY(tab.import(dxfEntities(QStringLiteral("0 LINE 10 0 20 1 11 40 21 1")), QStringLiteral("good.dxf"),
                               {10, 0}));
            tab.scene.clickAt(12, 0);
            tab.scene.clickAt(12, 1);
            QCOMPARE(tab.drawing().entityCount(), 1);
        }
        const DrawingTab::Snapshot before = tab.snapshot();
        if (dxf.isNull())
            tab.importNothing({10, 0});
        else
            tab.import(dxf, QStringLiteral("failing.dxf"), {10, 0});
        const DrawingTab::Snapshot after = tab.snapshot();
        QVERIFY2(after == before, qPrintable(describeSnapshot(before) + QStringLiteral(" -> ") + describeSnapshot(after)));
        if (!reason.isEmpty())
            QTRY_VERIFY2(tab.scene.statusLine().contains(reason), qPrintable(tab.scene.statusLine()));
    }
}

void DrawingImportTest::escapeAbandonsUnfinishedComparison_data()
{
    QTest::addColumn<int>("picks");

    QTest::newRow("waiting for the trace point") << 0;
    QTest::newRow("waiting for the drawing point") << 1;
}

void DrawingImportTest::escapeAbandonsUnfinishedComparison()
{
    QFETCH(int, picks);

    setAxisUnit(0);
    DrawingTab tab(kFlat);
    const DrawingTab::Snapshot before = tab.snapshot();
    QVERIFY(tab.import(dxfEntities(QStringLiteral("0 LINE 10 0 20 1 11 40 21 1")), QStringLiteral("line.dxf"), {10, 0}));
    if (picks > 0)
        tab.scene.clickAt(12, 0);
    QVERIFY(tab.snapshot().rows > before.rows);
    QVERIFY(tab.scene.button(QStringLiteral("pushButtonErrorPlane"))->isEnabled());

    QTRY_COMPARE(tab.scene.statusLine(), picks == 0 ? kFirstPrompt : kSecondPrompt);

    QTest::keyClick(tab.scene.window(), Qt::Key_Escape);
    const DrawingTab::Snapshot after = tab.snapshot();
    QVERIFY2(after == before, qPrintable(describeSnapshot(before) + QStringLiteral(" -> ") + describeSnapshot(after)));
    QVERIFY(!tab.scene.manager()->currentMeasurement());
    // Nothing waits for a point any more.
    QCOMPARE(tab.scene.statusLine(), QString());
}

void DrawingImportTest::importedDrawingInSight_data()
{
    QTest::addColumn<QString>("entities");
    QTest::addColumn<QPointF>("drawingPoint");
    QTest::addColumn<bool>("widens");

    QTest::newRow("wholly below the view") << "0 LINE 10 0 20 0 11 40 21 0 0 CIRCLE 10 20 20 -4 40 4" << QPointF(12, 0)
                                           << true;
    QTest::newRow("partly above the view") << "0 LINE 10 0 20 40 11 40 21 70" << QPointF(12, 49) << true;
    QTest::newRow("arc bulging out of the view") << "0 ARC 10 20 20 40 40 30 50 0 51 180" << QPointF(20, 70) << true;
    QTest::newRow("in the view") << "0 LINE 10 5 20 39 11 35 21 41" << QPointF(14, 39.6) << false;
}

// A drawing drawn around y = 0 over a contour at y = 40 mm: the view shows
// the whole drawing and the whole trace, so that both points the status line
// asks for can be picked. A drawing in the view leaves the view alone.
void DrawingImportTest::importedDrawingInSight()
{
    QFETCH(QString, entities);
    QFETCH(QPointF, drawingPoint);
    QFETCH(bool, widens);

    setAxisUnit(0);
    QVector<QPointF> trace;
    for (const QPointF& p : kFlat)
        trace.append(p + QPointF(0, 40));
    DrawingTab tab(trace);
    const QCPRange xBefore = tab.scene.plot()->xAxis->range();
    const QCPRange yBefore = tab.scene.plot()->yAxis->range();
    ComparePlaneDXF* comparison = tab.import(dxfEntities(entities), QStringLiteral("drawing.dxf"), {10, 40});
    QVERIFY(comparison);
    QTRY_COMPARE(tab.scene.statusLine(), kFirstPrompt);

    const QCPRange x = tab.scene.plot()->xAxis->range();
    const QCPRange y = tab.scene.plot()->yAxis->range();
    Extent extent;
    for (const QPointF& p : trace)
        extent.include(p);
    for (const QPointF& p : positions(comparison))
        extent.include(p);
    QVERIFY2(extent.inside(x, y), qPrintable(QStringLiteral("x %1..%2, y %3..%4")
                                                 .arg(x.lower).arg(x.upper).arg(y.lower).arg(y.upper)));
    if (widens) {
        // The same scale on both axes.
        const QRect rect = tab.scene.plot()->axisRect()->rect();
        QVERIFY2(qAbs(x.size() / rect.width() - y.size() / rect.height()) < 1e-3 * x.size() / rect.width(),
                 qPrintable(QStringLiteral("%1 x %2 px").arg(rect.width()).arg(rect.height())));
    } else {
        QCOMPARE(x, xBefore);
        QCOMPARE(y, yBefore);
    }

    tab.scene.clickAt(12, 40);
    QCOMPARE(comparison->state(), 1);
    tab.scene.clickAt(drawingPoint.x(), drawingPoint.y());
    QCOMPARE(comparison->state(), 2);
    QCOMPARE(comparison->drawingPoint(), drawingPoint);
}

KALVORA_TEST_MAIN(DrawingImportTest)
#include "DrawingImportTest.moc"
