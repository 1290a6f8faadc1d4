#include "ArcPoints.h"
#include "ContourScene.h"
#include "LabelChecks.h"

#include "measurements/ArcsRadiusMeasurement.h"
#include "measurements/CircumfAGMeasurement.h"
#include "measurements/CircumfAGSpecified.h"
#include "measurements/MeasurementIntersections.h"
#include "measurements/RegularRadiusMeasurement.h"
#include "measurements/ReperPoint.h"

#include "Constants.h"
#include "DrawingConstants.h"
#include "FuzzyCompare.h"
#include "LogTexts.h"
#include "SignalTexts.h"
#include "TestMain.h"

#include <cmath>
#include <functional>
#include <memory>

using Make = KindScene<CurvatureMeasurement>::Make;
using Points = QVector<QPointF>;
Q_DECLARE_METATYPE(Make)

namespace {

// A quarter of the circle of radius 2 mm about (5, 0), left to right, 200
// points, radii spread by 1 um either way.
Points noisyArc()
{
    return arcPoints(QPointF(5, 0), 2, 135, 45, 200, 0.001);
}

Points straightLine()
{
    Points points;
    for (int i = 0; i < 200; ++i)
        points.append(QPointF(3 + 0.02 * i, 1 + 0.005 * i));
    return points;
}

bool isFinite(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

double length(const QCPItemLine* line)
{
    return QLineF(line->start->coords(), line->end->coords()).length();
}

QPointF centreOf(const QCPItemEllipse* circle)
{
    return (circle->topLeft->coords() + circle->bottomRight->coords()) / 2;
}

using RadiusScene = KindScene<CurvatureMeasurement>;

// The bottom of the circle of radius 2 mm about (5, 2.6), from 200 to 340
// degrees: a concave groove, whose radius the user labels from inside.
Points grooveArc()
{
    return arcPoints(QPointF(5, 2.6), 2, 200, 340, 200, 0.001);
}

} // namespace

class RadiusMeasurementsTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { setAxisUnit(0); }

    void kindsOfTheTable_data();
    void kindsOfTheTable();
    void radiusOfNoisyArc();
    void twoArcsMatchOneStretch();
    void circleKindsFinishAtRangeRelease_data();
    void circleKindsFinishAtRangeRelease();
    void circlesIntersect();
    void givenRadiusFollowsUnit_data();
    void givenRadiusFollowsUnit();
    void radiusFollowsUnit();
    void labelShowsReportLabel();
    void labelStaysOffArrow_data();
    void labelStaysOffArrow();
    void liveDragStaysFinite_data();
    void liveDragStaysFinite();
    void deletionLeavesNothing_data();
    void deletionLeavesNothing();
};

void RadiusMeasurementsTest::kindsOfTheTable_data()
{
    QTest::addColumn<Make>("make");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("yieldsValue");
    QTest::addColumn<QString>("logLine");

    QTest::newRow("6") << Make(maker<RegularRadiusMeasurement>()) << 6 << "Радиус" << true
                       << "RegularRadiusMeasurement started";
    QTest::newRow("7") << Make(maker<ArcsRadiusMeasurement>()) << 7 << "Радиус (A)" << true
                       << "ArcsRadiusMeasurement started";
    QTest::newRow("20") << Make(maker<CircumfAGMeasurement>()) << 20 << "Окружность" << false
                        << "CircumfAGMeasurement started";
    QTest::newRow("21") << Make(maker<CircumfAGSpecified>(2)) << 21 << "Окружность" << false
                        << "CircumfAGMeasurement started";
}

void RadiusMeasurementsTest::kindsOfTheTable()
{
    QFETCH(Make, make);
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(bool, yieldsValue);
    QFETCH(QString, logLine);

    RadiusScene s(noisyArc(), make);
    QCOMPARE(s.m->type(), type);
    QCOMPARE(s.m->name(), name);
    QCOMPARE(s.m->groupName(), QStringLiteral("Радиусы"));
    QCOMPARE(s.m->yieldsValue(), yieldsValue);
    QCOMPARE(logTexts().last(), QStringLiteral("INFO: ") + logLine);
    QCOMPARE(s.m->valueText(), yieldsValue ? kUnknownText : QString());
    QCOMPARE(s.m->value(), 0.0);
    QCOMPARE(s.m->tolerance(), 1.0);
    QCOMPARE(s.m->unitText(), QStringLiteral("мм"));
    QCOMPARE(s.m->reperPoints().size(), 1);
    QCOMPARE(s.curve->selectable(), QCP::stDataRange);
    QVERIFY(!s.m->circleItem()->visible());
}

void RadiusMeasurementsTest::radiusOfNoisyArc()
{
    RadiusScene s(noisyArc(), Make(maker<RegularRadiusMeasurement>()));
    QSignalSpy status(s.m.get(), &Measurement::statusText);
    QSignalSpy finished(s.m.get(), &Measurement::measumentFinished);
    s.scene.dragAlong(s.curve, 0, 199);
    QVERIFY(s.m->isPlacing());
    QVERIFY(signalTexts(status).contains(QStringLiteral("Расположите значение")));

    // Beyond the arrow's head: the label stands on the cursor.
    const QPoint cursor = s.scene.pixel(6.6, 1.6);
    s.scene.move(cursor);
    KALVORA_COMPARE_NEAR(s.m->value(), 2.0, 0.005);
    QCOMPARE(s.m->valueText(), QString::number(s.m->value(), 'f', 4) + QStringLiteral("мм"));
    QCOMPARE(s.m->valueLabel()->text(), QStringLiteral("\n") + s.m->valueText());
    const QPointF cursorCoords(float(s.scene.coords(cursor).x()), float(s.scene.coords(cursor).y()));
    KALVORA_COMPARE_NEAR(s.m->valueLabel()->position->coords().x(), cursorCoords.x(), 1e-9);
    QCOMPARE(s.m->valueLabel()->positionAlignment(), Qt::AlignHCenter | Qt::AlignBottom);
    // The arrow runs one radius from the centre towards the cursor.
    const QPointF centre = s.m->reperPoints().first()->position();
    KALVORA_COMPARE_NEAR(centre.x(), 5.0, 0.005);
    KALVORA_COMPARE_NEAR(centre.y(), 0.0, 0.005);
    QVERIFY(s.m->radiusLine()->visible());
    KALVORA_COMPARE_NEAR(length(s.m->radiusLine()), s.m->value(), 1e-5);
    const QLineF arrow(s.m->radiusLine()->start->coords(), s.m->radiusLine()->end->coords());
    KALVORA_COMPARE_NEAR(arrow.angleTo(QLineF(centre, cursorCoords)), 0.0, 1e-3);
    KALVORA_COMPARE_NEAR(centreOf(s.m->circleItem()).x(), centre.x(), 1e-9);
    QCOMPARE(signalTexts(status).last(), QStringLiteral("Радиус: ") + s.m->valueText());

    s.scene.click(cursor);
    QVERIFY(s.m->isFinished());
    const QStringList log = logTexts();
    QCOMPARE(log.mid(log.size() - 2),
             QStringList({"INFO: finished", QStringLiteral("INFO: Result - Радиус: ") + s.m->valueText()}));
    QCOMPARE(finished.count(), 0);
    QCOMPARE(s.m->radiusLine()->pen(), kBlackPen);
}

// Two adjacent arcs that together make one stretch give the radius of that
// stretch.
void RadiusMeasurementsTest::twoArcsMatchOneStretch()
{
    RadiusScene one(noisyArc(), Make(maker<RegularRadiusMeasurement>()));
    one.scene.dragAlong(one.curve, 0, 199);
    one.scene.move(one.scene.pixel(6, 1));

    RadiusScene two(noisyArc(), Make(maker<ArcsRadiusMeasurement>()));
    QSignalSpy status(two.m.get(), &Measurement::statusText);
    two.scene.dragAlong(two.curve, 0, 100);
    QVERIFY(!two.m->isPlacing());
    two.scene.move(two.scene.pixel(6, 1));
    QCOMPARE(signalTexts(status).last(), QStringLiteral("Выделите две арки"));
    QVERIFY(!two.m->circleItem()->visible());
    two.scene.dragAlong(two.curve, 100, 199);
    QVERIFY(two.m->isPlacing());
    two.scene.move(two.scene.pixel(6, 1));

    QCOMPARE(two.m->selection(0)->end, two.m->selection(1)->begin);
    KALVORA_COMPARE_NEAR(two.m->value(), one.m->value(), 1e-9);
}

void RadiusMeasurementsTest::circleKindsFinishAtRangeRelease_data()
{
    QTest::addColumn<Make>("make");
    QTest::addColumn<double>("radius");

    QTest::newRow("20") << Make(maker<CircumfAGMeasurement>()) << 0.0;
    QTest::newRow("21") << Make(maker<CircumfAGSpecified>(2)) << 2.0;
}

void RadiusMeasurementsTest::circleKindsFinishAtRangeRelease()
{
    QFETCH(Make, make);
    QFETCH(double, radius);

    RadiusScene s(noisyArc(), make);
    QSignalSpy status(s.m.get(), &Measurement::statusText);
    QSignalSpy finished(s.m.get(), &Measurement::measumentFinished);
    s.scene.dragAlong(s.curve, 0, 199);
    QVERIFY(s.m->isFinished());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(signalTexts(status), QStringList({"Окружность"}));
    QCOMPARE(s.curve->selectable(), QCP::stSingleData);

    const MeasurementMath::Circle c = dynamic_cast<const CirclePrimitive&>(*s.m).circle();
    KALVORA_COMPARE_NEAR(c.centre.x(), 5.0, 0.005);
    KALVORA_COMPARE_NEAR(c.centre.y(), 0.0, 0.005);
    KALVORA_COMPARE_NEAR(c.radius, 2.0, 0.005);
    if (radius > 0)
        QCOMPARE(c.radius, radius);
    QCOMPARE(s.m->reperPoints().first()->position(), c.centre);
    QVERIFY(s.m->circleItem()->visible());
    QCOMPARE(centreOf(s.m->circleItem()), c.centre);
    QVERIFY(!s.m->valueLabel()->visible());
    QVERIFY(!s.m->radiusLine()->visible());
    QCOMPARE(s.m->valueText(), QString());

    s.scene.click(s.scene.pixel(5, 1));
    s.scene.dragAlong(s.curve, 10, 50);
    QCOMPARE(finished.count(), 1);
}

void RadiusMeasurementsTest::circlesIntersect()
{
    ContourScene scene;
    AdaptiveCurve* left = scene.addTrace(arcPoints(QPointF(4, 0), 2, 90, 0, 100));
    AdaptiveCurve* right = scene.addTrace(arcPoints(QPointF(6, 0), 2, 180, 90, 100));
    scene.fitAxes();
    CircumfAGMeasurement first(&scene.plot, 2);
    scene.plot.replot();
    scene.dragAlong(left, 0, 99);
    CircumfAGSpecified second(&scene.plot, 2, 2);
    scene.dragAlong(right, 0, 99);
    QVERIFY(first.isFinished() && second.isFinished());

    QList<QPointF> crossings = intersectCircleCircle(&first, &second);
    QCOMPARE(crossings.size(), 2);
    std::sort(crossings.begin(), crossings.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
    for (int i = 0; i < 2; ++i) {
        KALVORA_COMPARE_NEAR(crossings.at(i).x(), 5.0, 1e-4);
        KALVORA_COMPARE_NEAR(crossings.at(i).y(), (i ? 1 : -1) * std::sqrt(3.0), 1e-4);
    }
}

void RadiusMeasurementsTest::givenRadiusFollowsUnit_data()
{
    QTest::addColumn<bool>("byCalculate");
    QTest::newRow("reload") << false;
    QTest::newRow("next calculate") << true;
}

// 5 mm is 5000 after a switch to micrometres and 5 again after the switch
// back.
void RadiusMeasurementsTest::givenRadiusFollowsUnit()
{
    QFETCH(bool, byCalculate);
    RadiusScene s(noisyArc(), Make(maker<CircumfAGSpecified>(5)));
    s.scene.dragAlong(s.curve, 0, 199);
    const auto radius = [&s] { return dynamic_cast<const CirclePrimitive&>(*s.m).circle().radius; };
    QCOMPARE(radius(), 5.0);
    for (const auto& [unit, expected, text] :
         {std::tuple{1, 5000.0, "мкм"}, std::tuple{0, 5.0, "мм"}, std::tuple{2, 5e6, "нм"}, std::tuple{7, 5e6, "нм"}}) {
        setAxisUnit(unit);
        if (byCalculate)
            s.m->calculate();
        else
            s.m->reloadSettings();
        QCOMPARE(radius(), expected);
        QCOMPARE(s.m->unitText(), QString::fromUtf8(text));
    }
}

// After a switch of the display unit the radius is fitted on the rescaled
// trace and shown with the new unit.
void RadiusMeasurementsTest::radiusFollowsUnit()
{
    RadiusScene s(noisyArc(), Make(maker<RegularRadiusMeasurement>()));
    s.scene.dragAlong(s.curve, 0, 199);
    s.scene.move(s.scene.pixel(6, 1));
    s.scene.click(s.scene.pixel(6, 1));
    const double millimetres = s.m->value();

    setAxisUnit(1);
    QVector<QCPCurveData> rescaled;
    for (auto it = s.curve->data()->constBegin(); it != s.curve->data()->constEnd(); ++it)
        rescaled.append(QCPCurveData(it->t, it->key * 1000, it->value * 1000));
    s.curve->data()->set(rescaled, true);
    s.m->reloadSettings();
    s.m->calculate();
    KALVORA_COMPARE_NEAR(s.m->value(), millimetres * 1000, 1e-6);
    QCOMPARE(s.m->valueText(), QString::number(s.m->value(), 'f', 4) + QStringLiteral("мкм"));
}

void RadiusMeasurementsTest::labelShowsReportLabel()
{
    RadiusScene s(noisyArc(), Make(maker<RegularRadiusMeasurement>()));
    s.scene.dragAlong(s.curve, 0, 199);
    s.m->setLabelText(QStringLiteral("R1"));
    s.m->updateLabel();
    QCOMPARE(s.m->valueLabel()->text(), QStringLiteral("R1"));
    s.scene.move(s.scene.pixel(6, 1));
    QCOMPARE(s.m->valueLabel()->text(), QStringLiteral("R1\n") + s.m->valueText());

    const QFont normal = s.m->valueLabel()->font();
    s.m->setLabelEnlarged(true);
    QCOMPARE(s.m->valueLabel()->font().pointSize(), 20);
    s.m->setLabelEnlarged(false);
    QCOMPARE(s.m->valueLabel()->font(), normal);
}

void RadiusMeasurementsTest::labelStaysOffArrow_data()
{
    QTest::addColumn<QPointF>("cursor");
    QTest::addColumn<bool>("atCursor");

    QTest::newRow("inside, between the centre and the bottom") << QPointF(5, 1.2) << false;
    QTest::newRow("inside, aside") << QPointF(5.8, 1.4) << false;
    QTest::newRow("just below the arc, under the arrow's head") << QPointF(5, 0.5) << false;
    QTest::newRow("far below the arc") << QPointF(5, -0.3) << true;
    QTest::newRow("above the centre") << QPointF(5.3, 3.4) << false;
}

// The label of a radius in a groove, placed at the cursor: the arrow from the
// centre never runs through it, while it is placed and after, zoomed out,
// labelled for the report and in an image rendered at another size. Where
// the arrow ends before the label, the label stands at the cursor as ever.
void RadiusMeasurementsTest::labelStaysOffArrow()
{
    QFETCH(QPointF, cursor);
    QFETCH(bool, atCursor);

    RadiusScene s(grooveArc(), Make(maker<RegularRadiusMeasurement>()));
    s.scene.plot.yAxis->setRange(-0.6, 3.6);
    s.scene.plot.replot();
    s.scene.dragAlong(s.curve, 10, 190);
    QVERIFY(s.m->isPlacing());
    s.scene.move(s.scene.pixel(cursor.x(), cursor.y()));
    KALVORA_COMPARE_NEAR(s.m->value(), 2.0, 0.005);
    QVERIFY(s.m->valueLabel()->visible());
    QVERIFY(!arrowCrossesLabel(*s.m));
    const QPointF placedAt = s.m->valueLabel()->position->coords();
    const QPointF cursorCoords = s.scene.coords(s.scene.pixel(cursor.x(), cursor.y()));
    QCOMPARE(QLineF(placedAt, cursorCoords).length() < 1e-6, atCursor);

    s.scene.click(s.scene.pixel(cursor.x(), cursor.y()));
    QVERIFY(s.m->isFinished());
    s.scene.plot.replot();
    QVERIFY(!arrowCrossesLabel(*s.m));

    zoomOut(s.scene.plot);
    QVERIFY(!arrowCrossesLabel(*s.m));

    s.m->setLabelText(QStringLiteral("R_1"));
    s.m->updateLabel();
    s.m->setLabelEnlarged(true);
    bool crossesInImage = true;
    const QSize laidOutFor =
        zoomBackAndRender(s.scene.plot, QSize(900, 400), [&] { crossesInImage = arrowCrossesLabel(*s.m); });
    QCOMPARE(laidOutFor, QSize(900, 400));
    QVERIFY(!crossesInImage);
}

void RadiusMeasurementsTest::liveDragStaysFinite_data()
{
    QTest::addColumn<Points>("trace");
    QTest::addColumn<Make>("make");

    QTest::newRow("6 on a line") << straightLine() << Make(maker<RegularRadiusMeasurement>());
    QTest::newRow("20 on a line") << straightLine() << Make(maker<CircumfAGMeasurement>());
    QTest::newRow("21 on a line") << straightLine() << Make(maker<CircumfAGSpecified>(2));
    QTest::newRow("6 on an arc") << noisyArc() << Make(maker<RegularRadiusMeasurement>());
    QTest::newRow("20 on an arc") << noisyArc() << Make(maker<CircumfAGMeasurement>());
    QTest::newRow("21 on an arc") << noisyArc() << Make(maker<CircumfAGSpecified>(2));
}

// Every frame of a drag, from ranges of no, one and two points up: the window
// answers at once, and no circle that is not finite reaches the plot.
void RadiusMeasurementsTest::liveDragStaysFinite()
{
    QFETCH(Points, trace);
    QFETCH(Make, make);

    RadiusScene s(trace, make);
    s.scene.move(s.scene.pixelAt(s.curve, 50));
    s.scene.press(s.scene.pixelAt(s.curve, 50));
    for (int i = 50; i <= 90; ++i) {
        s.scene.move(s.scene.pixelAt(s.curve, i));
        QVERIFY(isFinite(s.m->circleItem()->topLeft->coords()));
        QVERIFY(isFinite(s.m->circleItem()->bottomRight->coords()));
        QVERIFY(isFinite(s.m->radiusLine()->end->coords()));
        QVERIFY(isFinite(s.m->valueLabel()->position->coords()));
        QVERIFY(std::isfinite(s.m->value()));
        if (const auto* primitive = dynamic_cast<const CirclePrimitive*>(s.m.get()))
            QVERIFY(std::isfinite(primitive->circle().radius) && isFinite(primitive->circle().centre));
    }
    s.scene.release(s.scene.pixelAt(s.curve, 90));
    QCOMPARE(s.m->selection(0)->end, 90);
}

void RadiusMeasurementsTest::deletionLeavesNothing_data()
{
    QTest::addColumn<Make>("make");
    QTest::newRow("6") << Make(maker<RegularRadiusMeasurement>());
    QTest::newRow("7") << Make(maker<ArcsRadiusMeasurement>());
    QTest::newRow("20") << Make(maker<CircumfAGMeasurement>());
    QTest::newRow("21") << Make(maker<CircumfAGSpecified>(2));
}

void RadiusMeasurementsTest::deletionLeavesNothing()
{
    QFETCH(Make, make);
    ContourScene scene;
    AdaptiveCurve* curve = scene.addTrace(noisyArc());
    scene.fitAxes();
    scene.showBelowTraces();
    // With the plot's own selection marker, which comes with the range selection.
    scene.plot.setInteractions(QCP::iRangeSelection);
    const PlotContents before(scene.plot);

    std::unique_ptr<CurvatureMeasurement> m(make(&scene.plot));
    scene.plot.replot();
    scene.dragAlong(curve, 0, 100);
    scene.dragAlong(curve, 100, 199);
    scene.move(scene.pixel(6, 1));
    QVERIFY(m->reperPoints().first()->position() != QPointF(0, 0));
    const QString deleted
        = QStringLiteral("INFO: ") + m->name() + QStringLiteral(" delete with value: ") + m->valueText();
    m.reset();

    QVERIFY(PlotContents(scene.plot) == before);
    QCOMPARE(logTexts().last(), deleted);
}

KALVORA_TEST_MAIN(RadiusMeasurementsTest)
#include "RadiusMeasurementsTest.moc"
