#include "ContourScene.h"

#include "measurements/ComparePlaneDXF.h"
#include "measurements/DxfDrawing.h"
#include "measurements/ErrorPlane.h"
#include "measurements/ReperPoint.h"
#include "measurements/math/DrawingGeometry.h"
#include "plot/QCPItemArc.h"

#include "DebugCapture.h"
#include "DrawingChecks.h"
#include "DxfText.h"
#include "SignalTexts.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QDir>

#include <cmath>
#include <memory>

using namespace MeasurementMath;

using Points = QVector<QPointF>;
using Entities = QVector<DrawingEntity>;

namespace {

const QString kFirstPrompt = QStringLiteral("Выберите первую точку на трассе");
const QString kSecondPrompt = QStringLiteral("Выберите соответствующую ей точку на чертеже");

// An outline that no half turn maps onto itself: a step up, a step down.
const Points kCorners{{0, 0}, {20, 0}, {20, 10}, {30, 10}, {30, 4}, {40, 4}};
constexpr int kSecondCorner = 1;

int indexOf(const Points& points, const QPointF& p)
{
    for (int i = 0; i < points.size(); ++i) {
        if (QLineF(points.at(i), p).length() < 1e-9)
            return i;
    }
    return -1;
}

Entities outlineLines(const Points& corners)
{
    Entities lines;
    for (int i = 0; i + 1 < corners.size(); ++i)
        lines.append(lineEntity(corners.at(i).x(), corners.at(i).y(), corners.at(i + 1).x(), corners.at(i + 1).y()));
    return lines;
}

// The outline as DXF lines, each corner mapped first.
template <typename Map>
QString outlineDxf(const Points& corners, Map map)
{
    QString text = QStringLiteral("0\nSECTION\n2\nENTITIES\n");
    for (int i = 0; i + 1 < corners.size(); ++i) {
        const QPointF a = map(corners.at(i));
        const QPointF b = map(corners.at(i + 1));
        text += QStringLiteral("0\nLINE\n100\nAcDbLine\n10\n%1\n20\n%2\n11\n%3\n21\n%4\n")
                    .arg(a.x(), 0, 'g', 17)
                    .arg(a.y(), 0, 'g', 17)
                    .arg(b.x(), 0, 'g', 17)
                    .arg(b.y(), 0, 'g', 17);
    }
    return text + QStringLiteral("0\nENDSEC\n0\nEOF\n");
}

double sumOfDistances(const Entities& drawing, const Points& points)
{
    double sum = 0;
    for (const QPointF& p : points)
        sum += distanceToNearestEntity(drawing, p.x(), p.y());
    return sum;
}

// Every end of every line of the drawing lies on the other outline.
bool liesOn(const Entities& drawing, const Entities& outline, double tolerance)
{
    for (const DrawingEntity& e : drawing) {
        const QVector<double>& p = e.parameters;
        if (distanceToNearestEntity(outline, p[0], p[1]) > tolerance
            || distanceToNearestEntity(outline, p[2], p[3]) > tolerance)
            return false;
    }
    return true;
}

// A bump between two flats and a wall: lines and a half circle that no turn
// maps onto themselves.
const Entities kBumpOutline{lineEntity(0, 0, 20, 0), arcEntity(25, 0, 5, 0, 180), lineEntity(30, 0, 40, 0),
                            lineEntity(40, 0, 40, 8)};

// The bump outline walked from the left end to the top of the wall with
// about `step` between points.
Points bumpTrace(double step)
{
    Points points = sampled({{0, 0}, {20, 0}}, step);
    points.removeLast();
    const int n = int(std::round(5 * M_PI / step));
    for (int k = 0; k < n; ++k) {
        const double a = M_PI - k * M_PI / n;
        points.append(QPointF(25 + 5 * std::cos(a), 5 * std::sin(a)));
    }
    return points + sampled({{30, 0}, {40, 0}, {40, 8}}, step);
}

QPointF turnedAboutOrigin(QPointF p, double degrees)
{
    const double a = degrees * M_PI / 180;
    return QPointF(p.x() * std::cos(a) - p.y() * std::sin(a), p.x() * std::sin(a) + p.y() * std::cos(a));
}

// The outline turned about the origin and moved, as DXF lines and arcs.
QString placedOutlineDxf(const Entities& outline, double degrees, QPointF offset)
{
    const auto n = [](double v) { return QString::number(v, 'g', 17); };
    QString text = QStringLiteral("0\nSECTION\n2\nENTITIES\n");
    for (const DrawingEntity& e : outline) {
        const QVector<double>& p = e.parameters;
        const QPointF a = turnedAboutOrigin(QPointF(p[0], p[1]), degrees) + offset;
        if (isLine(e)) {
            const QPointF b = turnedAboutOrigin(QPointF(p[2], p[3]), degrees) + offset;
            text += QStringLiteral("0\nLINE\n100\nAcDbLine\n10\n%1\n20\n%2\n11\n%3\n21\n%4\n")
                        .arg(n(a.x()), n(a.y()), n(b.x()), n(b.y()));
        } else {
            text += QStringLiteral("0\nARC\n100\nAcDbCircle\n10\n%1\n20\n%2\n40\n%3\n100\nAcDbArc\n50\n%4\n51\n%5\n")
                        .arg(n(a.x()), n(a.y()), n(p[2]), n(p[3] + degrees), n(p[4] + degrees));
        }
    }
    return text + QStringLiteral("0\nENDSEC\n0\nEOF\n");
}

// Where the fit put the outline: the turn of its first line and where its
// first point went.
struct Placement
{
    double degrees;
    QPointF origin;
};

Placement placementOf(const Entities& fitted)
{
    const QVector<double>& p = fitted.first().parameters;
    return {std::atan2(p[3] - p[1], p[2] - p[0]) * 180 / M_PI, QPointF(p[0], p[1])};
}

// A trace on the offscreen plot, the comparison's file dialog answered with
// a drawing written to the working directory.
struct ComparisonScene
{
    explicit ComparisonScene(const Points& trace, const QString& dxf = QString())
    {
        if (!dxf.isNull())
            writeText(path, dxf);
        const QString chosen = dxf.isNull() ? QString() : path;
        ComparePlaneDXF::setFileProvider([chosen](QWidget*) { return chosen; });
        curve = scene.addTrace(trace);
        scene.fitAxes();
        scene.plot.setInteractions(QCP::iRangeSelection);
        scene.plot.setSelectionMarkerVisible(true);
    }

    ~ComparisonScene()
    {
        m.reset();
        ComparePlaneDXF::setFileProvider(nullptr);
    }

    // Every curve on the plot is a trace of the comparison.
    ComparePlaneDXF* create()
    {
        m = std::make_unique<ComparePlaneDXF>(nullptr, &scene.plot, scene.plot.curveCount(), &drawing);
        status = std::make_unique<QSignalSpy>(m.get(), &Measurement::statusText);
        scene.plot.replot();
        return m.get();
    }

    // Waits for the posted prompt or reason.
    QStringList statusTexts()
    {
        QTest::qWait(1);
        QCoreApplication::processEvents();
        return signalTexts(*status);
    }

    // The press on the trace, then on the drawing.
    void pickPoints(const QPointF& onTrace, const QPointF& onDrawing)
    {
        scene.click(scene.pixel(onTrace.x(), onTrace.y()));
        scene.click(scene.pixel(onDrawing.x(), onDrawing.y()));
    }

    const Entities& store() const { return drawing.entities(); }

    const QString path = QDir::current().filePath(QStringLiteral("drawing.dxf"));
    ContourScene scene;
    DxfDrawing drawing;
    AdaptiveCurve* curve = nullptr;
    std::unique_ptr<ComparePlaneDXF> m;
    std::unique_ptr<QSignalSpy> status;
};

} // namespace

class DrawingComparisonTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { setAxisUnit(0); }

    void drawsWithReperPoints_data();
    void drawsWithReperPoints();
    void unreadableDrawingPicksNothing_data();
    void unreadableDrawingPicksNothing();
    void translatedCopyKeepsOrientation();
    void halfTurnedDrawingTurnsBack();
    void fitFindsTurnedOutline_data();
    void fitFindsTurnedOutline();
    void fitsToPickedTrace_data();
    void fitsToPickedTrace();
    void fitWithPickedTraceGone();
    void fittedDrawingFollowsUnitOnly();
    void cancelledComparisonLeavesStore();
    void deviationFromDrawing();
};

void DrawingComparisonTest::drawsWithReperPoints_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("arcs");
    QTest::addColumn<int>("points");

    QTest::newRow("line, mm") << "minimal.dxf" << 0 << 1 << 0 << 12;
    QTest::newRow("line, um") << "minimal.dxf" << 1 << 1 << 0 << 12;
    QTest::newRow("circle and arc") << "circle_and_arc.dxf" << 0 << 0 << 2 << 26 + 13;
    QTest::newRow("ellipse") << "ellipse.dxf" << 0 << 0 << 1 << 26;
    QTest::newRow("bulged polyline") << "polyline_bulge.dxf" << 0 << 1 << 1 << 13 + 12;
}

void DrawingComparisonTest::drawsWithReperPoints()
{
    QFETCH(QString, file);
    QFETCH(int, unit);
    QFETCH(int, lines);
    QFETCH(int, arcs);
    QFETCH(int, points);

    setAxisUnit(unit);
    ComparisonScene s(sampled(kCorners, 1), readText(QStringLiteral(KALVORA_DXF_DIR "/") + file));
    const int itemsBefore = s.scene.plot.itemCount();
    ComparePlaneDXF* m = s.create();
    QCOMPARE(s.statusTexts(), QStringList{kFirstPrompt});
    QCOMPARE(m->state(), 0);
    QCOMPARE(m->reperPointCount(), points);
    QCOMPARE(m->reperPoints().size(), points);
    QCOMPARE(s.store().size(), lines + arcs);
    QCOMPARE(m->name(), QStringLiteral("Чертёж DXF"));
    QCOMPARE(m->valueText(), QString());
    QCOMPARE(m->groupName(), QStringLiteral("Сравнение с чертежём"));
    QCOMPARE(m->type(), 31);
    QCOMPARE(s.curve->selectable(), QCP::stSingleData);

    int lineItems = 0;
    int arcItems = 0;
    for (int i = 0; i < s.store().size(); ++i) {
        QCPAbstractItem* item = s.drawing.item(i);
        QCOMPARE(item->layer()->name(), QStringLiteral("overlay"));
        lineItems += qobject_cast<QCPItemLine*>(item) ? 1 : 0;
        arcItems += qobject_cast<QCPItemArc*>(item) ? 1 : 0;
    }
    QCOMPARE(lineItems, lines);
    QCOMPARE(arcItems, arcs);

    if (file == QLatin1String("minimal.dxf")) {
        const double f = unit == 0 ? 1 : 1000;
        auto* line = qobject_cast<QCPItemLine*>(s.drawing.item(0));
        QCOMPARE(line->end->coords(), QPointF(10 * f, 0));
        const QList<double> xs{0, 10, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        for (int i = 0; i < xs.size(); ++i)
            QCOMPARE(m->reperPoints().at(i)->position(), QPointF(xs.at(i) * f, 0));
    }
    if (file == QLatin1String("circle_and_arc.dxf")) {
        auto* arc = qobject_cast<QCPItemArc*>(s.drawing.item(1));
        QCOMPARE(arc->startAngle, 0);
        QCOMPARE(arc->spanAngle, 1440);
        QCOMPARE(qobject_cast<QCPItemArc*>(s.drawing.item(0))->spanAngle, 5760);
    }

    s.m.reset();
    QVERIFY(s.store().isEmpty());
    QCOMPARE(s.scene.plot.itemCount(), itemsBefore);
}

void DrawingComparisonTest::unreadableDrawingPicksNothing_data()
{
    QTest::addColumn<QString>("dxf");
    QTest::addColumn<QString>("reason");

    QTest::newRow("dialog cancelled") << QString() << QString();
    QTest::newRow("drawing in miles") << QString::fromUtf8(dxfInUnits(3, QStringLiteral("0 LINE 10 0 20 0 11 1 21 0")))
                                      << "$INSUNITS = 3";
    QTest::newRow("binary") << readText(QStringLiteral(KALVORA_DXF_DIR "/binary_header.dxf")) << "двоичном";
    QTest::newRow("cut mid-entity") << readText(QStringLiteral(KALVORA_DXF_DIR "/cut_mid_entity.dxf"))
                                    << "обрывается";
}

// Nothing is stored or drawn, not even the complete entities before a cut,
// no prompt is posted (the reason is the creator's to show) and the presses
// pick nothing.
void DrawingComparisonTest::unreadableDrawingPicksNothing()
{
    QFETCH(QString, dxf);
    QFETCH(QString, reason);

    const Points trace = sampled(kCorners, 1);
    ComparisonScene s(trace, dxf);
    const int itemsBefore = s.scene.plot.itemCount();
    DebugCapture debug;
    ComparePlaneDXF* m = s.create();
    QVERIFY(!m->isLoaded());
    QVERIFY(s.statusTexts().isEmpty());
    if (reason.isEmpty())
        QVERIFY(debug.contains(QStringLiteral("Can't open file")));
    else
        QVERIFY2(m->loadError().contains(reason), qPrintable(m->loadError()));
    QVERIFY(s.store().isEmpty());
    QCOMPARE(s.scene.plot.itemCount(), itemsBefore);
    QCOMPARE(m->reperPointCount(), 0);
    s.pickPoints(trace.at(5), trace.at(9));
    QCOMPARE(m->state(), 0);
    QVERIFY(!m->isFinished());
}

// Clicks on corresponding corners of a translated copy: the copy lands on
// the trace, and the searches neither turn nor move it any further.
void DrawingComparisonTest::translatedCopyKeepsOrientation()
{
    const Points trace = sampled(kCorners, 0.05);
    const QPointF offset(5, -3);
    ComparisonScene s(trace, outlineDxf(kCorners, [offset](QPointF p) { return p + offset; }));
    ComparePlaneDXF* m = s.create();
    s.scene.fitAxes();
    QSignalSpy finished(m, &Measurement::measumentFinished);

    const QPointF corner = kCorners.at(kSecondCorner);
    s.scene.click(s.scene.pixelAt(s.curve, indexOf(trace, corner)));
    QCOMPARE(m->state(), 1);
    QCOMPARE(s.curve->selectable(), QCP::stNone);
    QCOMPARE(s.statusTexts().last(), kSecondPrompt);
    s.scene.click(s.scene.pixel(corner.x() + offset.x(), corner.y() + offset.y()));

    QCOMPARE(m->state(), 2);
    QCOMPARE(m->tracePoint(), corner);
    QCOMPARE(m->drawingPoint(), corner + offset);
    QCOMPARE(finished.count(), 1);
    QVERIFY(m->isFinished());
    QCOMPARE(m->reperPointCount(), 0);
    QVERIFY(m->reperPoints().isEmpty());
    QCOMPARE(s.statusTexts().last(), QString());
    QCOMPARE(s.curve->selectable(), QCP::stDataRange);

    const double afterTranslation = sumOfDistances(outlineLines(kCorners), trace);
    QVERIFY(m->fitError() <= afterTranslation + 1e-9);
    for (int i = 0; i < s.store().size(); ++i) {
        const QVector<double>& p = s.store().at(i).parameters;
        const QVector<double> expected = outlineLines(kCorners).at(i).parameters;
        for (int k = 0; k < 4; ++k)
            QVERIFY2(std::abs(p[k] - expected[k]) < 1e-6, qPrintable(QString::number(p[k] - expected[k])));
        // The item was moved with its entity.
        auto* line = qobject_cast<QCPItemLine*>(s.drawing.item(i));
        QCOMPARE(line->start->coords(), QPointF(p[0], p[1]));
    }
}

void DrawingComparisonTest::halfTurnedDrawingTurnsBack()
{
    const Points trace = sampled(kCorners, 0.05);
    ComparisonScene s(trace, outlineDxf(kCorners, [](QPointF p) { return QPointF(60 - p.x(), 30 - p.y()); }));
    s.create();
    s.scene.fitAxes();
    const QPointF corner = kCorners.at(kSecondCorner);
    s.pickPoints(corner, QPointF(60 - corner.x(), 30 - corner.y()));

    QCOMPARE(s.m->state(), 2);
    QVERIFY2(liesOn(s.store(), outlineLines(kCorners), 1e-6), "the drawing did not turn back onto the trace");
    QVERIFY(s.m->fitError() < 1e-6 * trace.size());
}

void DrawingComparisonTest::fitFindsTurnedOutline_data()
{
    QTest::addColumn<double>("turn");
    QTest::addColumn<QPointF>("onTrace");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<double>("degrees");
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<double>("error");

    // 33.75 degrees is 45 - 22.5 + 11.25, steps of the angle search; the
    // corners picked correspond, so the fit is exact.
    QTest::newRow("turn on the search's steps") << -33.75 << QPointF(40, 0) << 1e-9 << 0.0 << QPointF(0, 0) << 0.0;
    // The trace point picked lies 0.25 before the corner: the horizontal
    // search takes it up, to where its steps end.
    QTest::newRow("turn between steps, picked beside")
        << 7.3 << QPointF(39.75, 0) << 1e-3 << -0.00041503906251557553
        << QPointF(1.04943609358088e-09, 0.00028975192661295779) << 0.024400560574702742;
}

// The drawing is the bump outline turned and moved; the presses on the
// trace's wall corner (or beside it) and on the drawing's bring the drawing
// back onto the outline, with the turn, the place and the error the
// searches' steps lead to.
void DrawingComparisonTest::fitFindsTurnedOutline()
{
    QFETCH(double, turn);
    QFETCH(QPointF, onTrace);
    QFETCH(double, tolerance);
    QFETCH(double, degrees);
    QFETCH(QPointF, origin);
    QFETCH(double, error);

    const QPointF offset(6, -4);
    const Points trace = bumpTrace(0.25);
    ComparisonScene s(trace, placedOutlineDxf(kBumpOutline, turn, offset));
    s.create();
    s.scene.fitAxes();
    s.pickPoints(onTrace, turnedAboutOrigin(QPointF(40, 0), turn) + offset);
    QCOMPARE(s.m->state(), 2);
    QCOMPARE(s.m->tracePoint(), onTrace);

    const Placement placed = placementOf(s.store());
    QVERIFY2(std::abs(placed.degrees - degrees) < 1e-9, qPrintable(QString::number(placed.degrees, 'g', 17)));
    QVERIFY2(QLineF(placed.origin, origin).length() < 1e-9,
             qPrintable(QStringLiteral("%1 %2").arg(placed.origin.x(), 0, 'g', 17).arg(placed.origin.y(), 0, 'g', 17)));
    QVERIFY2(std::abs(s.m->fitError() - error) < 1e-9, qPrintable(QString::number(s.m->fitError(), 'g', 17)));
    for (int i = 0; i < kBumpOutline.size(); ++i) {
        const QVector<double>& p = s.store().at(i).parameters;
        const QVector<double>& expected = kBumpOutline.at(i).parameters;
        for (int k = 0; k < p.size(); ++k) {
            const double miss = k >= 3 ? std::remainder(p[k] - expected[k], 360) : p[k] - expected[k];
            QVERIFY2(std::abs(miss) < tolerance, qPrintable(QStringLiteral("entity %1: %2").arg(i).arg(miss)));
        }
    }
}

// Two flat traces, 20 apart, and a line 5 above the upper one.
struct TwoTraceScene : ComparisonScene
{
    TwoTraceScene()
        : ComparisonScene(sampled({{0, 0}, {40, 0}}, 0.5), outlineDxf({{0, 25}, {40, 25}}, [](QPointF p) { return p; }))
    {
        upper = scene.addTrace(sampled({{0, 20}, {40, 20}}, 0.5));
    }

    AdaptiveCurve* upper = nullptr;
};

void DrawingComparisonTest::fitsToPickedTrace_data()
{
    QTest::addColumn<double>("traceHeight");

    QTest::newRow("first trace") << 0.0;
    QTest::newRow("second trace") << 20.0;
}

// The line's point above the picked trace point goes onto it, and the fit,
// measured on the picked trace alone, leaves the line lying on that trace.
void DrawingComparisonTest::fitsToPickedTrace()
{
    QFETCH(double, traceHeight);

    TwoTraceScene s;
    s.create();
    s.scene.fitAxes();
    s.pickPoints(QPointF(12, traceHeight), QPointF(12, 25));
    QCOMPARE(s.m->state(), 2);
    QCOMPARE(s.m->tracePoint(), QPointF(12, traceHeight));
    QVERIFY2(liesOn(s.store(), {lineEntity(0, traceHeight, 40, traceHeight)}, 1e-9), qPrintable(describe(s.store())));
    QCOMPARE(s.m->fitError(), 0.0);
}

// The trace picked is removed before the drawing point: the fit measures
// on the first trace instead.
void DrawingComparisonTest::fitWithPickedTraceGone()
{
    TwoTraceScene s;
    s.create();
    s.scene.fitAxes();
    s.scene.click(s.scene.pixel(12, 20));
    QCOMPARE(s.m->tracePoint(), QPointF(12, 20));
    s.scene.plot.removePlottable(s.upper);
    s.scene.click(s.scene.pixel(12, 25));
    QCOMPARE(s.m->state(), 2);
    QCOMPARE(s.m->fitError(), sumOfDistances(s.store(), sampled({{0, 0}, {40, 0}}, 0.5)));
}

// A fitted drawing keeps its place when the trace data change (a lay-flat)
// and is scaled with the display unit, once, whatever the curve under the
// marker.
void DrawingComparisonTest::fittedDrawingFollowsUnitOnly()
{
    const Points trace = sampled(kCorners, 0.1);
    ComparisonScene s(trace, outlineDxf(kCorners, [](QPointF p) { return p + QPointF(1, 1); }));
    s.create();
    s.scene.fitAxes();
    const QPointF corner = kCorners.at(kSecondCorner);
    s.pickPoints(corner, corner + QPointF(1, 1));
    const Entities fitted = s.store();

    for (auto it = s.curve->data()->begin(); it != s.curve->data()->end(); ++it)
        it->value += it->key * 0.1;
    s.m->calculate();
    QCOMPARE(s.store(), fitted);

    setAxisUnit(1);
    s.m->followDisplayUnit();
    s.m->followDisplayUnit();
    for (int i = 0; i < fitted.size(); ++i) {
        for (int k = 0; k < 4; ++k)
            QVERIFY(std::abs(s.store().at(i).parameters[k] - 1000 * fitted.at(i).parameters[k]) < 1e-6);
    }
    QCOMPARE(s.m->tracePoint(), corner * 1000);
    auto* line = qobject_cast<QCPItemLine*>(s.drawing.item(0));
    QCOMPARE(line->end->coords(), QPointF(s.store().at(0).parameters[2], s.store().at(0).parameters[3]));
}

// A comparison whose dialog was cancelled stored nothing and takes nothing
// with it.
void DrawingComparisonTest::cancelledComparisonLeavesStore()
{
    ComparisonScene s(sampled(kCorners, 1), readText(QStringLiteral(KALVORA_DXF_DIR "/minimal.dxf")));
    s.create();
    QCOMPARE(s.store().size(), 1);
    {
        ComparePlaneDXF::setFileProvider([](QWidget*) { return QString(); });
        ComparePlaneDXF cancelled(nullptr, &s.scene.plot, 1, &s.drawing);
    }
    QCOMPARE(s.store().size(), 1);
    QVERIFY(s.drawing.item(0));
}

// Points 2 above a drawn line deviate by 2 each: the mean is 2, although the
// deviations do not spread.
void DrawingComparisonTest::deviationFromDrawing()
{
    DxfDrawing drawing;
    drawing.append(lineEntity(0, 0, 40, 0), nullptr);
    KindScene<ErrorPlane> s(sampled({{0, 2}, {40, 2}}, 0.5), maker<ErrorPlane>(&drawing));
    QCOMPARE(s.m->type(), 32);
    QCOMPARE(s.m->groupName(), QStringLiteral("Отклонения от графика"));
    s.scene.dragAlong(s.curve, 2, 18);
    QVERIFY(s.m->isPlacing());
    s.scene.click(s.scene.pixel(5, s.scene.belowTraces()));
    QVERIFY(s.m->isFinished());
    QCOMPARE(s.m->value(), 2.0);
    QCOMPARE(s.m->valueText(), QStringLiteral("2.000000мм"));
}

KALVORA_TEST_MAIN(DrawingComparisonTest)
#include "DrawingComparisonTest.moc"
