#include "ProbeMeasurement.h"

#include "measurements/CurveAccess.h"
#include "measurements/ReperPoint.h"
#include "measurements/ReperPointController.h"

#include "measurements/PickCurve.h"

#include "plot/AdaptiveCurve.h"

#include "DrawingConstants.h"
#include "PlotFixture.h"
#include "TestMain.h"

#include <memory>

namespace {

// A plot with a trace, a controller wired as the measurements manager wires
// it, and measurements whose points it registers.
struct Scene
{
    Scene()
        : controller(&f.plot)
    {
        f.addHorizontalCurve<AdaptiveCurve>(50);
        QObject::connect(&f.plot, &QCustomPlot::mouseMove, &controller, &ReperPointController::mouseMove);
        f.plot.replot();
    }

    ProbeMeasurement* addMeasurement(int points)
    {
        auto* m = new ProbeMeasurement(&f.plot, points);
        QObject::connect(m, &Measurement::reperPointChanged, &controller, &ReperPointController::reperPointChanged);
        QObject::connect(m, &Measurement::reperPointRemoved, &controller, &ReperPointController::reperPointRemoved);
        measurements.emplace_back(m);
        return m;
    }

    // Coordinates whose pixel, cut toward zero, is the given pixel.
    QPointF insidePixel(const QPoint& pixel) const { return f.coords(QPointF(pixel) + QPointF(0.3, 0.3)); }

    PlotFixture f;
    ReperPointController controller;
    std::vector<std::unique_ptr<ProbeMeasurement>> measurements;
};

using Colour = bool (*)(QRgb);

bool isGreen(QRgb p)
{
    return qGreen(p) > 200 && qRed(p) < 100 && qBlue(p) < 100;
}

bool isMagenta(QRgb p)
{
    return qRed(p) > 200 && qBlue(p) > 200 && qGreen(p) < 200;
}

// Pixels of a colour on screen within four pixels of a point.
int pixelsNear(PlotWidget& plot, const QPoint& pixel, Colour colour)
{
    const QImage image = plot.grab().toImage();
    int count = 0;
    for (int y = pixel.y() - 4; y <= pixel.y() + 4; ++y)
        for (int x = pixel.x() - 4; x <= pixel.x() + 4; ++x)
            count += colour(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// A green circle shows over the point's marker.
bool looksHighlighted(PlotWidget& plot, const QPoint& pixel)
{
    return pixelsNear(plot, pixel, isGreen) > 20;
}

// The plus with the magenta pen, and no green.
bool looksNormal(PlotWidget& plot, const QPoint& pixel)
{
    return pixelsNear(plot, pixel, isGreen) == 0 && pixelsNear(plot, pixel, isMagenta) > 5;
}

} // namespace

class ReperPointTest : public QObject
{
    Q_OBJECT
private slots:
    void createdHidden();
    void finishedPointPullsCursor_data();
    void finishedPointPullsCursor();
    void unfinishedPointNeverAttracts();
    void allPointsWithinReachLight();
    void farPointIsSkipped();
    void placingTwiceKeepsOneEntry();
    void movedPointAttractsAtItsNewPlace();
    void unannouncedDeletionLeavesRegistry();
    void selectabilityFollowsRegistry();
    void deletingOwnerClearsPlotAndRegistry();
    void pointRefOfDeletedOwnerReadsOrigin();
    void snapTakesNearestPickablePoint_data();
    void snapTakesNearestPickablePoint();
    void rectangleSelectsPickablePointsInside();
};

void ReperPointTest::createdHidden()
{
    Scene s;
    ProbeMeasurement* m = s.addMeasurement(1);
    const ReperPoint* point = m->reperPoints().first();
    QCOMPARE(point->measurement(), m);
    QVERIFY(!point->isMarkerVisible());
    QCOMPARE(s.f.plot.lastCurve(), point->pickCurve());
    QVERIFY(!point->isSelectable());
    QCOMPARE(point->pickCurve()->selectable(), QCP::stNone);
    QCOMPARE(s.f.plot.pickPoints().size(), 0);
    QCOMPARE(point->pickCurve()->keyAxis(), s.f.plot.xAxis);
    QCOMPARE(point->pickCurve()->valueAxis(), s.f.plot.yAxis);
    QCOMPARE(s.controller.pointCount(), 0);
}

void ReperPointTest::finishedPointPullsCursor_data()
{
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<bool>("attracts");
    QTest::newRow("3 right, 1 below") << QPoint(3, 1) << true;
    QTest::newRow("3 right, 2 below: sum 5") << QPoint(3, 2) << false;
    QTest::newRow("4 left") << QPoint(-4, 0) << true;
    QTest::newRow("5 above") << QPoint(0, -5) << false;
    QTest::newRow("2 right, 2 above") << QPoint(2, -2) << true;
}

// The point is first highlighted with the cursor on it; the next move either
// keeps it and pulls the cursor over, or reverts it.
void ReperPointTest::finishedPointPullsCursor()
{
    QFETCH(QPoint, offset);
    QFETCH(bool, attracts);
    Scene s;
    ProbeMeasurement* m = s.addMeasurement(1);
    const QPoint pixel = s.f.pixel(40, 60);
    m->setReperPoint(0, s.insidePixel(pixel));
    m->finish();
    const ReperPoint* point = m->reperPoints().first();
    QVERIFY(point->isMarkerVisible());

    QVERIFY(looksNormal(s.f.plot, pixel));
    s.f.move(pixel);
    QVERIFY(point->isHighlighted());
    QVERIFY(looksHighlighted(s.f.plot, pixel));
    const QPoint parked = s.f.plot.mapToGlobal(QPoint(5, 5));
    QCursor::setPos(parked);
    QCoreApplication::processEvents();
    QVERIFY(looksNormal(s.f.plot, pixel));

    s.f.move(pixel - QPoint(1, 0));
    QVERIFY(point->isHighlighted());
    QCursor::setPos(parked);
    s.f.move(pixel + offset);
    QCOMPARE(point->isHighlighted(), attracts);
    QVERIFY(attracts ? looksHighlighted(s.f.plot, pixel) : looksNormal(s.f.plot, pixel));
    QCOMPARE(QCursor::pos(), attracts ? s.f.plot.mapToGlobal(pixel) : parked);
}

void ReperPointTest::unfinishedPointNeverAttracts()
{
    Scene s;
    ProbeMeasurement* m = s.addMeasurement(1);
    const QPoint pixel = s.f.pixel(40, 60);
    m->setReperPoint(0, s.insidePixel(pixel));
    const QPoint parked = s.f.plot.mapToGlobal(QPoint(5, 5));
    QCursor::setPos(parked);
    s.f.move(pixel + QPoint(1, 0));
    s.f.move(pixel);
    QVERIFY(!m->reperPoints().first()->isHighlighted());
    QVERIFY(looksNormal(s.f.plot, pixel));
    QCOMPARE(QCursor::pos(), parked);
}

// Every point within reach lights up; the cursor ends on the last one in the
// registry, which is ordered by the points' addresses.
void ReperPointTest::allPointsWithinReachLight()
{
    Scene s;
    ProbeMeasurement* m = s.addMeasurement(2);
    const QPoint pixel = s.f.pixel(40, 60);
    m->setReperPoint(0, s.insidePixel(pixel));
    m->setReperPoint(1, s.insidePixel(pixel + QPoint(2, 0)));
    m->finish();
    s.f.move(pixel + QPoint(1, 1));
    ReperPoint* first = m->reperPoints().at(0);
    ReperPoint* second = m->reperPoints().at(1);
    QVERIFY(first->isHighlighted());
    QVERIFY(second->isHighlighted());
    QVERIFY(looksHighlighted(s.f.plot, pixel));
    QVERIFY(looksHighlighted(s.f.plot, pixel + QPoint(2, 0)));
    const QPoint last = first > second ? pixel : pixel + QPoint(2, 0);
    QCOMPARE(QCursor::pos(), s.f.plot.mapToGlobal(last));
}

// Far beyond the plot a pixel position no longer fits an integer; such a
// point is simply out of reach.
void ReperPointTest::farPointIsSkipped()
{
    Scene s;
    ProbeMeasurement* m = s.addMeasurement(2);
    m->setReperPoint(0, QPointF(1e300, -1e300));
    const QPoint pixel = s.f.pixel(40, 60);
    m->setReperPoint(1, s.insidePixel(pixel));
    m->finish();
    QCOMPARE(s.controller.pointCount(), 2);
    s.f.move(pixel);
    QVERIFY(!m->reperPoints().at(0)->isHighlighted());
    QVERIFY(m->reperPoints().at(1)->isHighlighted());
}

void ReperPointTest::placingTwiceKeepsOneEntry()
{
    Scene s;
    ProbeMeasurement* m = s.addMeasurement(1);
    m->setReperPoint(0, QPointF(10, 20));
    m->setReperPoint(0, QPointF(30, 40));
    const ReperPoint* point = m->reperPoints().first();
    QCOMPARE(s.controller.pointCount(), 1);
    QCOMPARE(point->pickCurve()->dataCount(), 1);
    QCOMPARE(point->position(), QPointF(30, 40));
    QCOMPARE(s.f.plot.pickPoints().size(), 1);
    const QCPCurveData& data = *point->pickCurve()->data()->constBegin();
    QCOMPARE(QPointF(data.key, data.value), QPointF(30, 40));
}

void ReperPointTest::movedPointAttractsAtItsNewPlace()
{
    Scene s;
    ProbeMeasurement* m = s.addMeasurement(1);
    const QPoint before = s.f.pixel(20, 30);
    const QPoint after = s.f.pixel(70, 80);
    m->setReperPoint(0, s.insidePixel(before));
    m->finish();
    m->setReperPoint(0, s.insidePixel(after));
    ReperPoint* point = m->reperPoints().first();
    s.f.move(before);
    QVERIFY(!point->isHighlighted());
    s.f.move(after + QPoint(1, 1));
    QVERIFY(point->isHighlighted());
}

// A manager that forgets to pass on the removal leaves no dangling entry.
void ReperPointTest::unannouncedDeletionLeavesRegistry()
{
    Scene s;
    auto* m = new ProbeMeasurement(&s.f.plot, 2);
    QObject::connect(m, &Measurement::reperPointChanged, &s.controller, &ReperPointController::reperPointChanged);
    const QPoint pixel = s.f.pixel(40, 60);
    m->setReperPoint(0, s.insidePixel(pixel));
    m->setReperPoint(1, QPointF(10, 10));
    m->finish();
    s.f.move(pixel);
    QCOMPARE(s.controller.pointCount(), 2);
    delete m;
    QCOMPARE(s.controller.pointCount(), 0);
    s.f.move(pixel + QPoint(1, 0));
    s.controller.makePointsSelectable();
    QVERIFY(!looksHighlighted(s.f.plot, pixel));
}

// The controller switches the points it knows, the measurement all of its own.
void ReperPointTest::selectabilityFollowsRegistry()
{
    Scene s;
    ProbeMeasurement* m = s.addMeasurement(2);
    m->setReperPoint(0, QPointF(10, 20));
    const ReperPoint* placed = m->reperPoints().at(0);
    const ReperPoint* unplaced = m->reperPoints().at(1);
    const PickCurve* curve = placed->pickCurve();
    s.controller.makePointsSelectable();
    QVERIFY(placed->isSelectable());
    QVERIFY(!unplaced->isSelectable());
    QCOMPARE(curve->selectable(), QCP::stWhole);
    m->makeReperPointsSelectable();
    QVERIFY(unplaced->isSelectable());
    s.controller.makePointsUnselectable();
    QVERIFY(!placed->isSelectable());
    QVERIFY(unplaced->isSelectable());
    QCOMPARE(curve->selectable(), QCP::stWhole);
    m->makeReperPointsUnselectable();
    QVERIFY(!unplaced->isSelectable());
    QCOMPARE(curve->selectable(), QCP::stNone);
}

void ReperPointTest::deletingOwnerClearsPlotAndRegistry()
{
    Scene s;
    ProbeMeasurement* kept = s.addMeasurement(1);
    kept->setReperPoint(0, QPointF(5, 5));
    const int curves = s.f.plot.curveCount();
    const int items = s.f.plot.itemCount();
    ProbeMeasurement* m = s.addMeasurement(3);
    m->setReperPoint(0, QPointF(10, 20));
    m->setReperPoint(1, QPointF(30, 40));
    QCOMPARE(s.f.plot.curveCount(), curves + 1);
    QCOMPARE(s.f.plot.pickPoints().size(), 3);
    QCOMPARE(s.controller.pointCount(), 3);

    s.measurements.pop_back();
    QCOMPARE(s.f.plot.curveCount(), curves);
    QCOMPARE(s.f.plot.itemCount(), items);
    QCOMPARE(s.f.plot.pickPoints().size(), 1);
    QCOMPARE(s.controller.pointCount(), 1);
    QVERIFY(s.controller.contains(kept->reperPoints().first()));
    QCOMPARE(s.f.plot.lastCurve(), kept->reperPoints().first()->pickCurve());
}

// A snap taken on a reference point outlives the point's owner: it then names
// no curve and reads as the origin.
void ReperPointTest::pointRefOfDeletedOwnerReadsOrigin()
{
    Scene s;
    s.f.plot.setInteractions(QCP::iRangeSelection | QCP::iSelectPlottables);
    s.f.plot.curve(0)->setSelectable(QCP::stNone);
    ProbeMeasurement* m = s.addMeasurement(1);
    m->setReperPoint(0, QPointF(30, 70));
    m->finish();
    s.controller.makePointsSelectable();
    s.f.move(s.f.pixel(31, 71));
    const PointRef ref = snapPointRef(&s.f.plot);
    QCOMPARE(ref.curve.data(), m->reperPoints().first()->pickCurve());
    QCOMPARE(curvePointAt(ref), QPointF(30, 70));

    s.measurements.clear();
    QVERIFY(!ref.curve);
    QCOMPARE(curvePointAt(ref), QPointF(0, 0));
    QCOMPARE(curvePointKey(ref.curve, ref.index), 0.0);
    QCOMPARE(curvePointValue(ref.curve, ref.index), 0.0);
}

void ReperPointTest::snapTakesNearestPickablePoint_data()
{
    QTest::addColumn<double>("firstDistance");
    QTest::addColumn<double>("secondDistance");
    QTest::addColumn<bool>("sameMeasurement");
    QTest::addColumn<bool>("secondPickable");
    QTest::addColumn<int>("winner");
    QTest::newRow("one measurement, 2.7 then 2.5: the first stays") << 2.7 << 2.5 << true << true << 0;
    QTest::newRow("one measurement, 2.7 then 1.9: the second wins") << 2.7 << 1.9 << true << true << 1;
    QTest::newRow("two measurements, 2.7 then 2.0: the first stays") << 2.7 << 2.0 << false << true << 0;
    QTest::newRow("two measurements, 40 then 12: the second wins, however far") << 40.0 << 12.0 << false << true << 1;
    QTest::newRow("a nearer point not pickable is passed over") << 30.0 << 1.0 << true << false << 0;
}

// Two reference points at given pixel distances from the cursor, the first to
// its right and the second below it, with the trace not pickable: the snap
// names the winner's pick curve and index and reads the point.
void ReperPointTest::snapTakesNearestPickablePoint()
{
    QFETCH(double, firstDistance);
    QFETCH(double, secondDistance);
    QFETCH(bool, sameMeasurement);
    QFETCH(bool, secondPickable);
    QFETCH(int, winner);
    Scene s;
    s.f.plot.setInteractions(QCP::iRangeSelection | QCP::iSelectPlottables);
    s.f.plot.curve(0)->setSelectable(QCP::stNone);
    const QPoint cursor = s.f.pixel(50, 30);
    const QPointF positions[2] = {s.f.coords(cursor + QPointF(firstDistance, 0)),
                                  s.f.coords(cursor + QPointF(0, secondDistance))};
    ProbeMeasurement* first = s.addMeasurement(sameMeasurement ? 2 : 1);
    ProbeMeasurement* second = sameMeasurement ? first : s.addMeasurement(1);
    const ReperPoint* points[2] = {first->reperPoints().first(), second->reperPoints().last()};
    first->setReperPoint(0, positions[0]);
    second->setReperPoint(second->reperPoints().size() - 1, positions[1]);
    first->makeReperPointsSelectable();
    second->makeReperPointsSelectable();
    if (!secondPickable)
        second->reperPoints().last()->setUnselectable();

    s.f.move(cursor);
    const PointRef ref = snapPointRef(&s.f.plot);
    QCOMPARE(ref.curve.data(), points[winner]->pickCurve());
    QCOMPARE(ref.index, qint64(points[winner]->pickIndex()));
    QCOMPARE(curvePointAt(ref), positions[winner]);
}

// Without range selection a rectangle selects, of a measurement's points, the
// pickable ones inside it.
void ReperPointTest::rectangleSelectsPickablePointsInside()
{
    Scene s;
    s.f.plot.setInteractions(QCP::iSelectPlottables | QCP::iMultiSelect);
    s.f.plot.setSelectionRectMode(QCP::srmSelect);
    s.f.plot.curve(0)->setSelectable(QCP::stNone);
    ProbeMeasurement* m = s.addMeasurement(4);
    const QPointF positions[4] = {{20, 30}, {25, 35}, {30, 40}, {80, 40}};
    for (int i = 0; i < 4; ++i)
        m->setReperPoint(i, positions[i]);
    m->makeReperPointsSelectable();
    m->reperPoints().at(1)->setUnselectable();

    s.f.drag(s.f.pixel(10, 45), s.f.pixel(50, 20));
    const QCPDataSelection selected = m->reperPoints().first()->pickCurve()->selection();
    QCOMPARE(selected.dataRangeCount(), 2);
    QCOMPARE(selected.dataRange(0), QCPDataRange(0, 1));
    QCOMPARE(selected.dataRange(1), QCPDataRange(2, 3));
}

KALVORA_TEST_MAIN(ReperPointTest)
#include "ReperPointTest.moc"
