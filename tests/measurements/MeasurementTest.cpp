#include "ContourScene.h"
#include "ProbeMeasurement.h"

#include "measurements/RangeProtocol.h"
#include "measurements/ReperPoint.h"

#include "plot/AdaptiveCurve.h"
#include "plot/PlotCurve.h"

#include "DebugCapture.h"
#include "PlotFixture.h"
#include "TestMain.h"

#include <limits>

namespace {

QString text(const Selection* s)
{
    if (!s)
        return QStringLiteral("none");
    return QStringLiteral("%1..%2 %3").arg(s->begin).arg(s->end).arg(s->plottable ? "curve" : "no curve");
}

// A probe that keeps a thick red vertical line at the cursor.
class LineProbe : public ProbeMeasurement
{
public:
    explicit LineProbe(PlotWidget* plot, int reperPoints = 0)
        : ProbeMeasurement(plot, reperPoints)
        , line(adoptItem(new QCPItemLine(plot)))
    {
        line->setPen(QPen(Qt::red, 3));
    }
    ~LineProbe() override { plot()->removeItem(line); }
    void calculate() override
    {
        line->start->setCoords(cursor().x(), 0);
        line->end->setCoords(cursor().x(), 100);
    }
    QCPItemLine* line;
};

// A measurement on a plot with one trace along y = 50, picked by ranges.
struct RangeScene
{
    RangeScene()
        : curve(f.addHorizontalCurve<AdaptiveCurve>(50))
        , m(preparedPlot())
    {
        f.plot.replot();
    }

    PlotWidget* preparedPlot()
    {
        RangeProtocol::prepareRangeSelection(&f.plot, -1);
        return &f.plot;
    }

    PlotFixture f;
    AdaptiveCurve* curve;
    ProbeMeasurement m;
};

int redPixelsInColumn(PlotWidget& plot, int x)
{
    const QImage image = plot.grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        count += image.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
    return count;
}

} // namespace

class MeasurementTest : public QObject
{
    Q_OBJECT
private slots:
    void idsContinueAcrossPlots();
    void kindsTable();
    void rangeRecordsFollowDrags();
    void vanishedPlottableMakesSelectionIncomplete();
    void cursorThroughSinglePrecision_data();
    void cursorThroughSinglePrecision();
    void finishStopsFollowing();
    void moveRedrawsItemsLayer_data();
    void moveRedrawsItemsLayer();
    void finishSettlesItemsOnOverlay();
    void deletionAnnouncesEachPointWhileAlive();
    void reperPointRefusals();
    void cleanup() { setAxisUnit(0); }
};

// Must run first: no measurement exists before it in this process.
void MeasurementTest::idsContinueAcrossPlots()
{
    PlotWidget firstTab;
    PlotWidget secondTab;
    ProbeMeasurement first(&firstTab);
    QCOMPARE(first.id(), 1);
    {
        ProbeMeasurement second(&secondTab);
        QCOMPARE(second.id(), 2);
    }
    ProbeMeasurement third(&secondTab);
    QCOMPARE(third.id(), 3);
    ProbeMeasurement fourth(&firstTab);
    QCOMPARE(fourth.id(), 4);
}

void MeasurementTest::kindsTable()
{
    for (int code : {-1, 17, 33, 34})
        QVERIFY2(!measurementKind(code), qPrintable(QString::number(code)));
    for (int code = 0; code <= 32; ++code) {
        if (code == 17)
            continue;
        const MeasurementKind* kind = measurementKind(code);
        QVERIFY2(kind, qPrintable(QString::number(code)));
        QCOMPARE(int(kind->code), code);
        const bool circleDeviation = code >= 13 && code <= 16;
        QCOMPARE(kind->type, circleDeviation ? 12 : code);
        const bool construction = (code >= 20 && code <= 27) || code == 30;
        QCOMPARE(kind->yieldsValue, !construction);
    }
    QCOMPARE(measurementKind(CIRCLE_DEVIATION_SPECIFIED)->groupName,
             QStringLiteral("Отклонения от окружности указанного радиуса"));
    QCOMPARE(measurementKind(LAY_FLAT)->groupName, QString());
}

// While the user drags, the record being picked is overwritten at every
// change; the next record starts empty; nothing changes once locked.
void MeasurementTest::rangeRecordsFollowDrags()
{
    RangeScene s;
    PlotFixture& f = s.f;
    ProbeMeasurement& m = s.m;
    AdaptiveCurve* curve = s.curve;

    f.move(f.pixel(10, 50));
    f.press(f.pixel(10, 50));
    f.move(f.pixel(20, 50));
    QCOMPARE(m.selectionCount(), 1);
    QCOMPARE(text(m.selection(0)), QStringLiteral("10..20 curve"));
    f.move(f.pixel(30, 50));
    QCOMPARE(m.selectionCount(), 1);
    QCOMPARE(text(m.selection(0)), QStringLiteral("10..30 curve"));
    f.release(f.pixel(30, 50));
    QVERIFY(m.selectionsComplete());
    QCOMPARE(m.selection(0)->plottable.data(), curve);

    m.startNextSelection();
    QCOMPARE(text(m.selection(1)), QStringLiteral("0..0 no curve"));
    QVERIFY(!m.selectionsComplete());
    f.drag(f.pixel(60, 50), f.pixel(70, 50));
    QCOMPARE(text(m.selection(0)), QStringLiteral("10..30 curve"));
    QCOMPARE(text(m.selection(1)), QStringLiteral("60..70 curve"));
    QVERIFY(m.selectionsComplete());

    m.lockSelection();
    f.drag(f.pixel(40, 50), f.pixel(45, 50));
    QCOMPARE(text(m.selection(1)), QStringLiteral("60..70 curve"));
    QCOMPARE(curve->selection().dataRange(0).begin(), 40);
    QCOMPARE(m.selectionCount(), 2);
    QCOMPARE(m.selection(2), nullptr);
    QCOMPARE(m.selection(-1), nullptr);
}

void MeasurementTest::vanishedPlottableMakesSelectionIncomplete()
{
    RangeScene s;
    s.f.drag(s.f.pixel(10, 50), s.f.pixel(20, 50));
    QVERIFY(s.m.selectionsComplete());
    s.f.plot.removePlottable(s.curve);
    QVERIFY(!s.m.selectionsComplete());
    QCOMPARE(text(s.m.selection(0)), QStringLiteral("10..20 no curve"));
}

void MeasurementTest::cursorThroughSinglePrecision_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<double>("coordinate");
    QTest::addColumn<double>("stored");
    QTest::addColumn<double>("shown");
    QTest::newRow("millimetres") << 0 << 12.7 << 12.699999809265137 << 12.699999809265137;
    QTest::newRow("micrometres") << 1 << 250.0 << 0.25 << 250.0;
    QTest::newRow("nanometres") << 2 << 250.0 << 0.00025 << 250.0;
    QTest::newRow("unknown unit: as millimetres") << 7 << 12.7 << 12.699999809265137 << 12.699999809265137;
    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("beyond single precision") << 0 << 1e39 << infinity << infinity;
}

// The cursor lies on the axis rect's lower left corner, where the pixel maps
// exactly to the lower ends of both ranges.
void MeasurementTest::cursorThroughSinglePrecision()
{
    QFETCH(int, unit);
    QFETCH(double, coordinate);
    QFETCH(double, stored);
    QFETCH(double, shown);
    setAxisUnit(unit);
    PlotFixture f;
    const double size = qMax(100.0, coordinate);
    f.plot.xAxis->setRange(coordinate, coordinate + size);
    f.plot.yAxis->setRange(coordinate, coordinate + size);
    f.plot.replot();
    ProbeMeasurement m(&f.plot);
    QSignalSpy changed(&m, &Measurement::measumentChanged);
    f.move(QPoint(f.plot.axisRect()->left(), f.plot.axisRect()->bottom()));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m.calculations, 1);
    QVERIFY(m.cursor().x() == stored);
    QVERIFY(m.cursor().y() == stored);
    QVERIFY(m.cursorPosition().x() == shown);
    QVERIFY(m.cursorPosition().y() == shown);
}

void MeasurementTest::finishStopsFollowing()
{
    RangeScene s;
    PlotFixture& f = s.f;
    ProbeMeasurement& m = s.m;
    QSignalSpy changed(&m, &Measurement::measumentChanged);
    f.move(f.pixel(30, 40));
    QCOMPARE(m.calculations, 1);
    const QPointF cursor = m.cursor();
    QVERIFY(m.highlighted);

    m.finish();
    QVERIFY(m.isFinished());
    QVERIFY(!m.highlighted);
    f.move(f.pixel(60, 70));
    f.drag(f.pixel(10, 50), f.pixel(20, 50));
    QCOMPARE(m.calculations, 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m.cursor(), cursor);
    QCOMPARE(m.selectionCount(), 0);
}

void MeasurementTest::moveRedrawsItemsLayer_data()
{
    QTest::addColumn<bool>("itemsLayer");
    QTest::newRow("items layer") << true;
    QTest::newRow("whole plot") << false;
}

// Either way the item shows where the cursor went; with its layer named, the
// traces are not redrawn.
void MeasurementTest::moveRedrawsItemsLayer()
{
    QFETCH(bool, itemsLayer);
    PlotFixture f;
    f.addHorizontalCurve<AdaptiveCurve>(50);
    LineProbe m(&f.plot);
    if (itemsLayer)
        m.setMoveRedraw(Measurement::MoveRedraw::OwnLayer);
    f.plot.replot();
    QSignalSpy fullReplots(&f.plot, &QCustomPlot::beforeReplot);

    for (double x : {30.0, 70.0}) {
        const QPoint pixel = f.pixel(x, 20);
        f.move(pixel);
        QVERIFY(redPixelsInColumn(f.plot, pixel.x()) > 100);
    }
    QCOMPARE(redPixelsInColumn(f.plot, f.pixel(30, 20).x()), 0);
    QCOMPARE(fullReplots.count() == 0, itemsLayer);
}

// While placed, a measurement draws above "overlay" on a layer of its own;
// finished, it is on "overlay" with everything settled, and so are points and
// items it gets later.
void MeasurementTest::finishSettlesItemsOnOverlay()
{
    PlotFixture f;
    LineProbe m(&f.plot, 1);
    QCPLayer* editing = m.line->layer();
    QCOMPARE(editing->name(), QStringLiteral("editing"));
    QCOMPARE(editing->index(), f.plot.layer(QStringLiteral("overlay"))->index() + 1);
    QCOMPARE(editing->mode(), QCPLayer::lmBuffered);
    QCOMPARE(m.reperPoints().first()->markerLayer(), editing);

    m.finish();
    const QString overlay = QStringLiteral("overlay");
    QCOMPARE(m.line->layer()->name(), overlay);
    QCOMPARE(m.reperPoints().first()->markerLayer()->name(), overlay);
    m.addReperPoints(1);
    QCOMPARE(m.reperPoints().last()->markerLayer()->name(), overlay);
    auto* later = m.adoptItem(new QCPItemText(&f.plot));
    QCOMPARE(later->layer()->name(), overlay);
    QCOMPARE(f.plot.layer(QStringLiteral("overlay2"))->index(), editing->index() + 1);
}

void MeasurementTest::deletionAnnouncesEachPointWhileAlive()
{
    PlotFixture f;
    f.addHorizontalCurve<AdaptiveCurve>(50);
    auto* m = new ProbeMeasurement(&f.plot, 2);
    m->setReperPoint(0, QPointF(10, 10));
    m->setReperPoint(1, QPointF(20, 20));
    const int curves = f.plot.curveCount();
    QCOMPARE(curves, 2);

    QList<QPointF> positions;
    QList<int> pickPointCounts;
    connect(m, &Measurement::reperPointRemoved, [&](ReperPoint* point) {
        positions << point->position();
        pickPointCounts << f.plot.pickPoints().size();
        QVERIFY(point->pickCurve() && point->isMarkerVisible());
    });
    delete m;
    QCOMPARE(positions, QList<QPointF>({QPointF(10, 10), QPointF(20, 20)}));
    QCOMPARE(pickPointCounts, QList<int>({2, 1}));
    QCOMPARE(f.plot.curveCount(), curves - 1);
    QCOMPARE(f.plot.pickPoints().size(), 0);
    QCOMPARE(f.plot.itemCount(), 0);
}

// Positions that are not finite never reach the plot or the registry; a
// missing point is refused without harm.
void MeasurementTest::reperPointRefusals()
{
    PlotFixture f;
    ProbeMeasurement m(&f.plot, 1);
    QSignalSpy changed(&m, &Measurement::reperPointChanged);
    QSignalSpy removed(&m, &Measurement::reperPointRemoved);
    ReperPoint* point = m.reperPoints().first();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    m.setReperPoint(0, QPointF(nan, 1));
    m.setReperPoint(0, QPointF(1, inf));
    QCOMPARE(changed.count(), 0);
    QVERIFY(!point->isMarkerVisible());
    QCOMPARE(f.plot.pickPoints().size(), 0);

    DebugCapture capture;
    m.setReperPoint(1, QPointF(1, 1));
    m.setReperPoint(-1, QPointF(1, 1));
    QCOMPARE(changed.count(), 0);
    QVERIFY(capture.contains("no reference point"));

    m.removeLastReperPoint();
    m.removeLastReperPoint();
    QCOMPARE(removed.count(), 1);
    QVERIFY(m.reperPoints().isEmpty());
    QCOMPARE(f.plot.curveCount(), 0);
}

KALVORA_TEST_MAIN(MeasurementTest)
#include "MeasurementTest.moc"
