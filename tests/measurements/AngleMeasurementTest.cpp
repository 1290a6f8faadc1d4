#include "measurements/HorizontalAngleMeasurement.h"
#include "measurements/RegularAngleMeasurement.h"
#include "measurements/ReperPoint.h"
#include "measurements/VerticalAngleMeasurement.h"

#include "plot/AdaptiveCurve.h"
#include "plot/QCPItemArc.h"

#include "AppSettings.h"
#include "DrawnItems.h"
#include "DrawingConstants.h"
#include "FuzzyCompare.h"
#include "LogTexts.h"
#include "PlotFixture.h"
#include "SignalTexts.h"
#include "TestMain.h"

#include <functional>
#include <memory>

using Ranges = QVector<QLineF>;
Q_DECLARE_METATYPE(Ranges)

namespace {

void setAnglesInDegrees(bool on)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    settings.view.angles_in_deg = on;
}

std::unique_ptr<AngleMeasurement> createAngle(int kind, PlotWidget* plot)
{
    switch (kind) {
    case VERTICAL_ANGLE:
        return std::make_unique<VerticalAngleMeasurement>(plot, 1);
    case HORIZONTAL_ANGLE:
        return std::make_unique<HorizontalAngleMeasurement>(plot, 1);
    default:
        return std::make_unique<RegularAngleMeasurement>(plot, 1);
    }
}

// A contour on both axes over -10..10: the line y = x up to the origin, then
// the flat y = 0; one point every 0.1.
struct AngleScene
{
    explicit AngleScene(const std::function<double(double)>& height = [](double x) { return x < 0 ? x : 0.0; })
    {
        f.plot.xAxis->setRange(-10, 10);
        f.plot.yAxis->setRange(-10, 10);
        curve = new AdaptiveCurve(f.plot.xAxis, f.plot.yAxis);
        for (int i = 0; i <= 200; ++i) {
            const double x = -10 + i * 0.1;
            curve->addData(x, height(x));
        }
        f.plot.replot();
    }

    void pick(const QLineF& range) { f.drag(f.pixel(range.x1(), range.y1()), f.pixel(range.x2(), range.y2())); }

    void click(const QPointF& at)
    {
        const QPoint pixel = f.pixel(at.x(), at.y());
        f.move(pixel);
        f.press(pixel);
        f.release(pixel);
    }

    PlotFixture f;
    AdaptiveCurve* curve = nullptr;
};

const QLineF kSlopedRange(-8, -8, -2, -2);
const QLineF kShortSlopedRange(-8, -8, -3, -3);
const QLineF kFlatRange(2, 0, 8, 0);

// "Угол (Г)" with its range picked on the sloped stretch.
struct HorizontalAngleOnSlope
{
    HorizontalAngleOnSlope()
    {
        scene.f.plot.replot();
        scene.pick(kShortSlopedRange);
    }

    // Fixed with the cursor up and to the right of the vertex: 45°.
    void place() { scene.click(QPointF(-2.1, -1.1)); }

    AngleScene scene;
    HorizontalAngleMeasurement m{&scene.f.plot, 1};
};

} // namespace

class AngleMeasurementTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void placedAngle_data();
    void placedAngle();
    void promptsUntilTwoRanges();
    void parallelRangesDrawNothing();
    void recalculationRefitsChangedData();
    void valueTextFollowsSetting();
    void reportLabel();
    void finishWithNothingPlaced();
    void deletionIsLogged();
};

void AngleMeasurementTest::cleanup()
{
    setAnglesInDegrees(false);
}

void AngleMeasurementTest::placedAngle_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<Ranges>("ranges");
    QTest::addColumn<QPointF>("vertex");
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<double>("angle");

    const Ranges twoRanges{kSlopedRange, kFlatRange};
    const QPointF origin(0, 0);
    QTest::newRow("Угол, between the lines") << int(REGULAR_ANGLE) << twoRanges << origin << QPointF(2, 1) << 45.0;
    QTest::newRow("Угол, second line flipped") << int(REGULAR_ANGLE) << twoRanges << origin << QPointF(-1, 2)
                                               << 135.0;
    QTest::newRow("Угол, both flipped") << int(REGULAR_ANGLE) << twoRanges << origin << QPointF(-2, -1) << 45.0;
    QTest::newRow("Угол, ranges swapped") << int(REGULAR_ANGLE) << Ranges{kFlatRange, kSlopedRange} << origin
                                          << QPointF(-1, 2) << 135.0;

    // The vertex is on the line above the last picked point, x = -3.1.
    const Ranges sloped{kShortSlopedRange};
    const QPointF lastSloped(-3.1, -3.1);
    QTest::newRow("Угол (Г), above") << int(HORIZONTAL_ANGLE) << sloped << lastSloped << QPointF(1, 2) << 45.0;
    QTest::newRow("Угол (Г), upper left") << int(HORIZONTAL_ANGLE) << sloped << lastSloped << QPointF(-1, 2)
                                          << 135.0;
    QTest::newRow("Угол (Г), left") << int(HORIZONTAL_ANGLE) << sloped << lastSloped << QPointF(-2, 1) << 45.0;

    const Ranges flat{kFlatRange};
    const QPointF lastFlat(7.9, 0);
    QTest::newRow("Угол (В), upper right") << int(VERTICAL_ANGLE) << flat << lastFlat << QPointF(1, 2) << 90.0;
    QTest::newRow("Угол (В), lower left") << int(VERTICAL_ANGLE) << flat << lastFlat << QPointF(-3, -1) << 90.0;
}

// Ranges picked by drags, the value placed by moving the cursor to the
// vertex's side and fixed by a click, as a user does it.
void AngleMeasurementTest::placedAngle()
{
    QFETCH(int, kind);
    QFETCH(Ranges, ranges);
    QFETCH(QPointF, vertex);
    QFETCH(QPointF, offset);
    QFETCH(double, angle);

    setAnglesInDegrees(true);
    AngleScene scene;
    const std::unique_ptr<AngleMeasurement> m = createAngle(kind, &scene.f.plot);
    scene.f.plot.replot();
    QSignalSpy status(m.get(), &Measurement::statusText);
    QSignalSpy finished(m.get(), &Measurement::measumentFinished);

    for (const QLineF& range : ranges)
        scene.pick(range);
    QVERIFY(m->isSelectionLocked());
    QCOMPARE(signalTexts(status).last(), QStringLiteral("Расположите значение"));

    const QPointF cursor = vertex + offset;
    scene.f.move(scene.f.pixel(cursor.x(), cursor.y()));
    KALVORA_COMPARE_NEAR(m->value(), angle, 1e-4);
    const QPointF placedVertex = m->reperPoints().first()->position();
    KALVORA_COMPARE_NEAR(placedVertex.x(), vertex.x(), 1e-9);
    KALVORA_COMPARE_NEAR(placedVertex.y(), vertex.y(), 1e-9);
    const QList<QCPItemLine*> lines = drawnItems<QCPItemLine>(scene.f.plot);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.first()->visible());
    QCOMPARE(lines.first()->pen(), kGreenPen);
    QCOMPARE(signalTexts(status).last(), m->name() + QStringLiteral(": ") + m->valueText());

    scene.click(cursor);
    QVERIFY(m->isFinished());
    KALVORA_COMPARE_NEAR(m->value(), angle, 1e-4);
    QCOMPARE(lines.first()->pen(), kBlackPen);
    QCOMPARE(drawnItems<QCPItemArc>(scene.f.plot).first()->pen(), kBlackPen);
    QCOMPARE(finished.count(), 0);
    const QString result = m->name() + QStringLiteral(": ") + m->valueText();
    QCOMPARE(signalTexts(status).last(), result);
    const QStringList log = logTexts();
    QCOMPARE(log.value(log.size() - 2), QStringLiteral("INFO: Finish"));
    QCOMPARE(log.last(), QStringLiteral("INFO: Result - ") + result);
}

void AngleMeasurementTest::promptsUntilTwoRanges()
{
    AngleScene scene;
    RegularAngleMeasurement m(&scene.f.plot, 1);
    scene.f.plot.replot();
    QSignalSpy status(&m, &Measurement::statusText);
    scene.pick(kSlopedRange);
    scene.f.move(scene.f.pixel(5, 5));
    QCOMPARE(signalTexts(status).last(), QStringLiteral("Выделите два отрезка данных"));
    QVERIFY(!drawnItems<QCPItemArc>(scene.f.plot).first()->visible());
    QVERIFY(!m.reperPoints().first()->isMarkerVisible());
}

// Lines of equal slope have no vertex: nothing is drawn and the value stays
// 0. (Heights of ±4 make both fitted slopes exactly 0.)
void AngleMeasurementTest::parallelRangesDrawNothing()
{
    AngleScene scene([](double x) { return x < 0 ? -4.0 : 4.0; });
    RegularAngleMeasurement m(&scene.f.plot, 1);
    scene.f.plot.replot();
    scene.pick(QLineF(-8, -4, -2, -4));
    scene.pick(QLineF(2, 4, 8, 4));
    QVERIFY(m.selectionsComplete());
    scene.f.move(scene.f.pixel(3, 2));
    scene.f.move(scene.f.pixel(4, 3));
    QCOMPARE(m.value(), 0.0);
    QVERIFY(!drawnItems<QCPItemArc>(scene.f.plot).first()->visible());
    QVERIFY(!m.reperPoints().first()->isMarkerVisible());
}

// Lay-flat turns the curves' data in place and has every measurement
// recalculated: a finished angle fits its ranges anew.
void AngleMeasurementTest::recalculationRefitsChangedData()
{
    HorizontalAngleOnSlope angle;
    angle.place();
    QVERIFY(angle.m.isFinished());
    KALVORA_COMPARE_NEAR(angle.m.value(), 45.0, 1e-4);

    const auto data = angle.scene.curve->data();
    for (auto it = data->begin(); it != data->end(); ++it)
        it->value = it->key < 0 ? 2 * it->key : 0;
    angle.m.calculate();
    KALVORA_COMPARE_NEAR(angle.m.value(), qRadiansToDegrees(std::atan(2.0)), 1e-4);
}

void AngleMeasurementTest::valueTextFollowsSetting()
{
    HorizontalAngleOnSlope angle;
    const HorizontalAngleMeasurement& m = angle.m;
    angle.scene.f.move(angle.scene.f.pixel(-1, 0));
    const QRegularExpression degreesMinutesSeconds(QStringLiteral("^\\d+° \\d+' \\d+''$"));
    QVERIFY2(degreesMinutesSeconds.match(m.valueText()).hasMatch(), qPrintable(m.valueText()));

    setAnglesInDegrees(true);
    QVERIFY(degreesMinutesSeconds.match(m.valueText()).hasMatch());
    angle.m.reloadSettings();
    QCOMPARE(m.valueText(), QString::number(m.value(), 'f', 4) + QStringLiteral("°"));
    QCOMPARE(m.nominalValue(), 45.0);
}

// The report puts a short label on the plot: alone at first, above the value
// once the angle is drawn again.
void AngleMeasurementTest::reportLabel()
{
    HorizontalAngleOnSlope angle;
    angle.place();
    HorizontalAngleMeasurement& m = angle.m;
    QCPItemText* label = drawnItems<QCPItemText>(angle.scene.f.plot).first();
    QCOMPARE(label->text(), QStringLiteral("\n") + m.valueText());

    m.setLabelText(QStringLiteral("α_1"));
    m.updateLabel();
    QCOMPARE(label->text(), QStringLiteral("α_1"));
    const QFont normal = label->font();
    m.setLabelEnlarged(true);
    QCOMPARE(label->font().pointSize(), 20);
    m.calculate();
    QCOMPARE(label->text(), QStringLiteral("α_1\n") + m.valueText());
    m.setLabelEnlarged(false);
    QCOMPARE(label->font(), normal);
}

// A click that picked nothing counts as the range; the next click finishes
// the angle, which has no value to show in either notation.
void AngleMeasurementTest::finishWithNothingPlaced()
{
    AngleScene scene;
    HorizontalAngleMeasurement m(&scene.f.plot, 1);
    scene.f.plot.replot();
    const QRect area = scene.f.plot.axisRect()->rect();
    const QPoint outside(area.left() - 20, area.center().y());
    scene.f.move(outside);
    scene.f.press(outside);
    scene.f.release(outside);
    QVERIFY(m.isSelectionLocked());
    scene.click(QPointF(3, 3));
    QVERIFY(m.isFinished());
    QCOMPARE(m.value(), 0.0);
    QCOMPARE(m.valueText(), QStringLiteral("неизвестно"));
    setAnglesInDegrees(true);
    m.reloadSettings();
    QCOMPARE(m.valueText(), QStringLiteral("—"));
    QVERIFY(!drawnItems<QCPItemArc>(scene.f.plot).first()->visible());
}

void AngleMeasurementTest::deletionIsLogged()
{
    setAnglesInDegrees(true);
    AngleScene scene;
    {
        VerticalAngleMeasurement m(&scene.f.plot, 1);
        QCOMPARE(logTexts().last(), QStringLiteral("INFO: VerticalAngleMeasurement started"));
        QCOMPARE(drawnItems<QCPItemArc>(scene.f.plot).size(), 1);
    }
    QCOMPARE(logTexts().last(), QStringLiteral("INFO: Угол (В) delete with value: —"));
    QVERIFY(drawnItems<QCPItemArc>(scene.f.plot).isEmpty());
    QVERIFY(drawnItems<QCPItemLine>(scene.f.plot).isEmpty());
    QVERIFY(drawnItems<QCPItemText>(scene.f.plot).isEmpty());
}

KALVORA_TEST_MAIN(AngleMeasurementTest)
#include "AngleMeasurementTest.moc"
