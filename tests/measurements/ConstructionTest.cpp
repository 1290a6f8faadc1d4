#include "measurements/ClickDoubleLine.h"
#include "measurements/ClickHorizontalLine.h"
#include "measurements/ClickPoint.h"
#include "measurements/ClickVerticalLine.h"
#include "measurements/MeasurementIntersections.h"
#include "measurements/MiddlePoint.h"
#include "measurements/ReperPoint.h"
#include "measurements/math/ConstructionLines.h"

#include "plot/AdaptiveCurve.h"

#include "DrawingConstants.h"
#include "DrawnItems.h"
#include "FuzzyCompare.h"
#include "PlotFixture.h"
#include "SignalTexts.h"
#include "TestMain.h"

#include <cmath>
#include <memory>
#include <optional>

using Points = QVector<QPointF>;
using Coordinates = QVector<double>;
Q_DECLARE_METATYPE(Points)
Q_DECLARE_METATYPE(Coordinates)

namespace {

// A trace of a few points far enough apart that a click on one snaps to it.
const Points kTrace{{0, 1}, {1, 1}, {2, 5}, {3, 5}, {10, 2.5}, {12, 8}};

std::unique_ptr<ClickDistaceMeasurement> createByClicks(int kind, PlotWidget* plot)
{
    switch (kind) {
    case HORIZONTAL_LINE:
        return std::make_unique<ClickHorizontalLine>(plot, 1);
    case VERTICAL_LINE:
        return std::make_unique<ClickVerticalLine>(plot, 1);
    case TWO_POINT_LINE:
        return std::make_unique<ClickDoubleLine>(plot, 1);
    case TRACE_POINT:
        return std::make_unique<ClickPoint>(plot, 1);
    default:
        return std::make_unique<MiddlePoint>(plot, 1);
    }
}

std::unique_ptr<ClickDistaceMeasurement> createFromCoordinates(int kind, PlotWidget* plot,
                                                               const Coordinates& coordinates)
{
    switch (kind) {
    case HORIZONTAL_LINE:
        return std::make_unique<ClickHorizontalLine>(plot, coordinates);
    case VERTICAL_LINE:
        return std::make_unique<ClickVerticalLine>(plot, coordinates);
    default:
        return std::make_unique<ClickDoubleLine>(plot, coordinates);
    }
}

QLineF linePoints(const QCPItemStraightLine* line)
{
    return QLineF(line->point1->coords(), line->point2->coords());
}

// The contour plot as the measurements manager leaves it for the click
// kinds: range selection on, so that the selection marker snaps to the trace.
struct ClickScene
{
    explicit ClickScene(const Points& trace = kTrace)
    {
        f.plot.xAxis->setRange(-1, 13);
        f.plot.yAxis->setRange(0, 10);
        curve = new AdaptiveCurve(f.plot.xAxis, f.plot.yAxis);
        for (const QPointF& p : trace)
            curve->addData(p.x(), p.y());
        f.plot.setInteractions(QCP::iRangeSelection);
        f.plot.replot();
    }

    QPoint pixel(const QPointF& p) const { return f.pixel(p.x(), p.y()); }

    // A move onto the point (the marker snaps), then a press and a release.
    void click(const QPointF& at)
    {
        const QPoint p = pixel(at);
        f.move(p + QPoint(2, 0));
        f.move(p);
        f.press(p);
        f.release(p);
    }

    PlotFixture f;
    AdaptiveCurve* curve = nullptr;
};

} // namespace

class ConstructionTest : public QObject
{
    Q_OBJECT
private slots:
    void placedByClicks_data();
    void placedByClicks();
    void pointFollowsSnap();
    void twoPointLinePreviewAndSameKey();
    void clickedGeometryFollowsTrace();
    void builtFromCoordinates_data();
    void builtFromCoordinates();
    void linesMeet();
    void slopedLineReach_data();
    void slopedLineReach();
};

void ConstructionTest::placedByClicks_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<Points>("clicks");
    QTest::addColumn<Coordinates>("coordinates");
    QTest::addColumn<QLineF>("line");
    QTest::addColumn<Points>("points");
    QTest::addColumn<QStringList>("prompts");

    QTest::newRow("horizontal line") << int(HORIZONTAL_LINE) << Points{{10, 2.5}} << Coordinates{0, 2.5}
                                     << QLineF(0, 2.5, 1, 2.5) << Points{} << QStringList{};
    QTest::newRow("vertical line") << int(VERTICAL_LINE) << Points{{10, 2.5}} << Coordinates{0, 10}
                                   << QLineF(10, 0, 10, 1) << Points{} << QStringList{};
    QTest::newRow("line through two points") << int(TWO_POINT_LINE) << Points{{0, 1}, {2, 5}} << Coordinates{2, 1}
                                             << QLineF(0, 1, 1, 3) << Points{} << QStringList{};
    QTest::newRow("point on the trace") << int(TRACE_POINT) << Points{{12, 8}} << Coordinates{} << QLineF()
                                        << Points{{12, 8}} << QStringList{};
    QTest::newRow("middle point") << int(MIDDLE_POINT) << Points{{1, 1}, {3, 5}} << Coordinates{0, 0} << QLineF()
                                  << Points{{2, 3}} << QStringList{"Укажите вторую точку"};
}

// Each kind finishes at its last click and says so once; it yields no value.
void ConstructionTest::placedByClicks()
{
    QFETCH(int, kind);
    QFETCH(Points, clicks);
    QFETCH(Coordinates, coordinates);
    QFETCH(QLineF, line);
    QFETCH(Points, points);
    QFETCH(QStringList, prompts);

    ClickScene scene;
    const std::unique_ptr<ClickDistaceMeasurement> m = createByClicks(kind, &scene.f.plot);
    QSignalSpy finished(m.get(), &Measurement::measumentFinished);
    QSignalSpy status(m.get(), &Measurement::statusText);
    QCOMPARE(scene.curve->selectable(), QCP::stSingleData);

    for (int i = 0; i < clicks.size(); ++i) {
        QCOMPARE(m->isFinished(), false);
        scene.click(clicks.at(i));
    }
    QVERIFY(m->isFinished());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(signalTexts(status), prompts);
    QCOMPARE(m->lineCoefficients(), coordinates);
    QCOMPARE(m->valueText(), QString());
    QVERIFY(!m->yieldsValue());
    QCOMPARE(m->groupName(), QStringLiteral("Доп геометрия Линии"));

    const QCPItemStraightLine* item = drawnItems<QCPItemStraightLine>(scene.f.plot).first();
    QCOMPARE(item->visible(), !line.isNull());
    if (!line.isNull())
        QCOMPARE(linePoints(item), line);
    QCOMPARE(item->pen(), kBlackPen);
    QCOMPARE(m->reperPoints().size(), points.size());
    for (int i = 0; i < points.size(); ++i)
        QCOMPARE(m->reperPoints().at(i)->position(), points.at(i));

    scene.click(kTrace.at(4));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(m->lineCoefficients(), coordinates);
}

// Until the click the point rides the trace under the marker (one move
// behind it, as the marker snaps after the move is reported).
void ConstructionTest::pointFollowsSnap()
{
    ClickScene scene;
    ClickPoint m(&scene.f.plot, 1);
    QSignalSpy finished(&m, &Measurement::measumentFinished);
    scene.f.move(scene.pixel(kTrace.at(2)));
    scene.f.move(scene.pixel(kTrace.at(2)) + QPoint(1, 1));
    QCOMPARE(m.reperPoints().first()->position(), kTrace.at(2));
    QVERIFY(m.reperPoints().first()->isMarkerVisible());
    scene.f.move(scene.pixel(kTrace.at(3)));
    scene.f.move(scene.pixel(kTrace.at(3)) + QPoint(1, 1));
    QCOMPARE(m.reperPoints().first()->position(), kTrace.at(3));
    QVERIFY(!m.isFinished());

    scene.f.press(scene.pixel(kTrace.at(3)) + QPoint(1, 1));
    scene.f.release(scene.pixel(kTrace.at(3)) + QPoint(1, 1));
    QVERIFY(m.isFinished());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(m.reperPoints().first()->position(), kTrace.at(3));
}

// After the first click the line follows the marker; a second click at the
// first one's key would give no line and is ignored.
void ConstructionTest::twoPointLinePreviewAndSameKey()
{
    ClickScene scene;
    ClickDoubleLine m(&scene.f.plot, 1);
    QSignalSpy finished(&m, &Measurement::measumentFinished);
    scene.click(kTrace.at(0));
    scene.f.move(scene.pixel(kTrace.at(5)));
    scene.f.move(scene.pixel(kTrace.at(5)) + QPoint(1, 1));
    const QCPItemStraightLine* item = drawnItems<QCPItemStraightLine>(scene.f.plot).first();
    QVERIFY(item->visible());
    const QLineF preview = linePoints(item);
    QCOMPARE(preview.p1(), QPointF(0, 1));
    QCOMPARE(preview.x2(), 1.0);
    KALVORA_COMPARE_NEAR(preview.y2(), 1 + 7.0 / 12, 1e-6);

    scene.click(kTrace.at(0));
    QVERIFY(!m.isFinished());
    QCOMPARE(finished.count(), 0);

    scene.click(kTrace.at(2));
    QVERIFY(m.isFinished());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(m.lineCoefficients(), Coordinates({2, 1}));
}

// A recalculation reads the clicked trace points anew (lay-flat turns the
// data in place); lines built from coordinates stay as built.
void ConstructionTest::clickedGeometryFollowsTrace()
{
    ClickScene scene;
    ClickHorizontalLine horizontal(&scene.f.plot, 1);
    scene.click(kTrace.at(4));
    MiddlePoint middle(&scene.f.plot, 1);
    scene.click(kTrace.at(1));
    scene.click(kTrace.at(3));
    ClickHorizontalLine equidistant(&scene.f.plot, Coordinates{0, 3.5});

    for (auto it = scene.curve->data()->begin(); it != scene.curve->data()->end(); ++it)
        it->value += 1;
    horizontal.calculate();
    middle.calculate();
    equidistant.calculate();
    QCOMPARE(horizontal.lineCoefficients(), Coordinates({0, 3.5}));
    QCOMPARE(linePoints(drawnItems<QCPItemStraightLine>(scene.f.plot).first()), QLineF(0, 3.5, 1, 3.5));
    QCOMPARE(middle.reperPoints().first()->position(), QPointF(2, 4));
    QVERIFY(middle.reperPoints().first()->isSelectable());
    QCOMPARE(equidistant.lineCoefficients(), Coordinates({0, 3.5}));
}

void ConstructionTest::builtFromCoordinates_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<Coordinates>("coordinates");
    QTest::addColumn<Points>("trace");
    QTest::addColumn<QLineF>("line");

    // Equidistants: the source line's coordinates with the distance added to
    // the second one.
    QTest::newRow("horizontal 2.5 + 1") << int(HORIZONTAL_LINE) << Coordinates{0, 2.5 + 1} << kTrace
                                        << QLineF(0, 3.5, 1, 3.5);
    QTest::newRow("vertical at 10 + 2") << int(VERTICAL_LINE) << Coordinates{0, 10 + 2} << kTrace
                                        << QLineF(12, -1000000, 12, 1000000);
    QTest::newRow("vertical leaning") << int(VERTICAL_LINE) << Coordinates{0.5, 12} << kTrace
                                      << QLineF(12 - 500000, -1000000, 12 + 500000, 1000000);
    // Drawn 100 times the trace's key span (12) to both sides of x = 0.
    QTest::newRow("through (0, 1) and (2, 5), + 3") << int(TWO_POINT_LINE) << Coordinates{2, 1 + 3} << kTrace
                                                    << QLineF(1200, 2404, -1200, -2396);
    QTest::newRow("sloped, all curves empty") << int(TWO_POINT_LINE) << Coordinates{2, 4} << Points{}
                                              << QLineF(1, 6, -1, 2);
    QTest::newRow("numbers missing") << int(HORIZONTAL_LINE) << Coordinates{} << kTrace << QLineF(0, 0, 1, 0);
}

// Built finished, on "overlay", with the coordinates as given.
void ConstructionTest::builtFromCoordinates()
{
    QFETCH(int, kind);
    QFETCH(Coordinates, coordinates);
    QFETCH(Points, trace);
    QFETCH(QLineF, line);

    ClickScene scene(trace);
    const std::unique_ptr<ClickDistaceMeasurement> m = createFromCoordinates(kind, &scene.f.plot, coordinates);
    QVERIFY(m->isFinished());
    QCOMPARE(m->type(), kind);
    QCOMPARE(m->lineCoefficients(), coordinates);
    const QCPItemStraightLine* item = drawnItems<QCPItemStraightLine>(scene.f.plot).first();
    QVERIFY(item->visible());
    QCOMPARE(item->layer()->name(), QStringLiteral("overlay"));
    QCOMPARE(item->pen(), kBlackPen);
    QCOMPARE(linePoints(item), line);
}

// The construction lines are the primitives the intersections read.
void ConstructionTest::linesMeet()
{
    ClickScene scene;
    ClickHorizontalLine horizontal(&scene.f.plot, Coordinates{0, 5});
    ClickVerticalLine vertical(&scene.f.plot, Coordinates{0, 3});
    ClickDoubleLine sloped(&scene.f.plot, Coordinates{2, 1});

    QCOMPARE(intersectLineLine(&vertical, &sloped), QList<QPointF>({QPointF(3, 7)}));
    QCOMPARE(intersectLineLine(&horizontal, &vertical), QList<QPointF>({QPointF(3, 5)}));
    QCOMPARE(intersectPointLines(&horizontal, &sloped), QList<QPointF>({QPointF(2, 5)}));
}

void ConstructionTest::slopedLineReach_data()
{
    QTest::addColumn<Coordinates>("spans");
    QTest::addColumn<double>("reach");

    QTest::newRow("no curves") << Coordinates{} << 1.0;
    QTest::newRow("widest span, either way") << Coordinates{12, -30} << 3000.0;
    QTest::newRow("span not a number") << Coordinates{std::nan(""), 2} << 200.0;
    QTest::newRow("short curves") << Coordinates{0.001} << 1.0;
}

void ConstructionTest::slopedLineReach()
{
    QFETCH(Coordinates, spans);
    QFETCH(double, reach);
    QCOMPARE(MeasurementMath::slopedLineReach(spans), reach);
}

KALVORA_TEST_MAIN(ConstructionTest)
#include "ConstructionTest.moc"
