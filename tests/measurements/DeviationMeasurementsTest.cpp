#include "ArcPoints.h"
#include "ContourScene.h"
#include "LabelChecks.h"

#include "measurements/DeviationGraph.h"
#include "measurements/DxfDrawing.h"
#include "measurements/ErrorPlane.h"
#include "measurements/RDEMFiterByTwoSegment.h"
#include "measurements/RDEMSpecified.h"
#include "measurements/RDEMeasurement.h"
#include "measurements/RMSEMeasurement.h"
#include "measurements/RadiusDisplacementErrorMeasurementByTwoSegment.h"
#include "measurements/RadiusDisplacementFilterErrorMeasurement.h"
#include "measurements/math/DrawingEntity.h"

#include "Constants.h"
#include "FuzzyCompare.h"
#include "LogTexts.h"
#include "SignalTexts.h"
#include "TestMain.h"

#include <cmath>
#include <functional>
#include <memory>

using Make = KindScene<ErrorMeasurement>::Make;
using Points = QVector<QPointF>;
using Stretches = QVector<QPair<int, int>>;
Q_DECLARE_METATYPE(Make)
Q_DECLARE_METATYPE(Stretches)

namespace {

// The scenes are in micrometres, where the filtered kinds' window is 250.
constexpr int kMicrometres = 1;

// An arc of radius 800 about (1000, 0) from 140 down to 40 degrees (left to
// right), 200 points about 7 apart, radii spread by 2 either way.
Points noisyArc()
{
    return arcPoints(QPointF(1000, 0), 800, 140, 40, 200, 2);
}

// y = 300 + 0.1 x for x = 0, 5, ... 1000, raised by `bump` at x = 500.
Points lineWithBump(double bump)
{
    Points points;
    for (int i = 0; i <= 200; ++i)
        points.append(QPointF(5 * i, 300 + 0.5 * i + (i == 100 ? bump : 0)));
    return points;
}

Points reversed(Points points)
{
    std::reverse(points.begin(), points.end());
    return points;
}

QVector<double> valuesOf(const QCPCurve* curve)
{
    QVector<double> values;
    for (auto it = curve->data()->constBegin(); it != curve->data()->constEnd(); ++it)
        values.append(it->value);
    return values;
}

bool allFinite(const QCPCurve* curve)
{
    for (auto it = curve->data()->constBegin(); it != curve->data()->constEnd(); ++it) {
        if (!std::isfinite(it->key) || !std::isfinite(it->value))
            return false;
    }
    return true;
}

double lowestBeforeLast(const QCPCurve* curve, const Selection& selection)
{
    double lowest = curvePointValue(curve, selection.begin);
    for (qint64 i = selection.begin; i < selection.end - 1; ++i)
        lowest = std::min(lowest, curvePointValue(curve, i));
    return lowest;
}

// A level top from x = 0 to 600 with a roughness of 0.3 either way, a V
// groove 200 deep down to x = 700 and up to 800, and the level on to 1000;
// points 5 apart.
Points levelBesideVee()
{
    Points points;
    for (int i = 0; i <= 120; ++i)
        points.append(QPointF(5 * i, 300 + 0.3 * std::sin(7.3 * i)));
    for (int i = 1; i <= 40; ++i)
        points.append(QPointF(600 + 5 * i, 300 - 10 * std::min(i, 40 - i)));
    for (int i = 1; i <= 40; ++i)
        points.append(QPointF(800 + 5 * i, 300));
    return points;
}

// An arc of radius 400 about (500, 0) from 160 down to 20 degrees, 300
// points, radii spread by 2 either way: the contour falls away on both sides
// of a stretch picked on its top.
Points archedTop()
{
    return arcPoints(QPointF(500, 0), 400, 160, 20, 300, 2);
}

// The drawing the arched top was made after.
const DxfDrawing& archDrawing()
{
    static DxfDrawing drawing;
    if (drawing.isEmpty())
        drawing.append(MeasurementMath::arcEntity(500, 0, 400, 20, 160), nullptr);
    return drawing;
}

// A deviation kind on a trace, the mouse moved to heights at the middle of
// the view.
struct DeviationScene : KindScene<ErrorMeasurement>
{
    using KindScene::KindScene;

    void mouseTo(double y) { scene.move(scene.pixel(scene.plot.xAxis->range().center(), y)); }
    double belowTrace() const { return scene.belowTraces(); }
    const QCPCurve* deviationCurve() const { return m->deviationGraph().curve(); }
};

} // namespace

class DeviationMeasurementsTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { setAxisUnit(kMicrometres); }
    void cleanup() { setAxisUnit(0); }

    void kindsOfTheTable_data();
    void kindsOfTheTable();
    void placedDeviation_data();
    void placedDeviation();
    void filterSmoothsNoise();
    void shortStretchHasNoMedian();
    void bandFollowsMouse_data();
    void bandFollowsMouse();
    void straightStretches_data();
    void straightStretches();
    void severalStretches_data();
    void severalStretches();
    void stretchOnAnotherTrace();
    void liveDragStaysFinite_data();
    void liveDragStaysFinite();
    void labelShowsReportLabel();
    void scaleStaysClear_data();
    void scaleStaysClear();
    void givenRadiusFollowsUnit();
    void deletionLeavesNothing_data();
    void deletionLeavesNothing();
};

void DeviationMeasurementsTest::kindsOfTheTable_data()
{
    QTest::addColumn<Make>("make");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("logLine");

    const QString line = QStringLiteral("Отклонение от прямой");
    const QString circle = QStringLiteral("Отклонение от окружности");
    const QString bySegmentsLog = QStringLiteral("RadiusDisplacementErrorMeasurementByTwoSegment start");
    QTest::newRow("11") << Make(maker<RMSEMeasurement>()) << 11 << line << "Отклонения от окружности"
                        << "RMSEMeasurement started";
    QTest::newRow("12") << Make(maker<RDEMeasurement>()) << 12 << circle << "Отклонения"
                        << "RadiusDisplacementErrorMeasurement start";
    QTest::newRow("13") << Make(maker<RDEMSpecified>(800)) << 12 << circle
                        << "Отклонения от окружности указанного радиуса"
                        << "RDEMSpecified start";
    QTest::newRow("14") << Make(maker<RadiusDisplacementFilterErrorMeasurement>()) << 12 << circle
                        << "Отклонения от радиуса с фильтрацией"
                        << "RadiusDisplacementFilterErrorMeasurement start";
    QTest::newRow("15") << Make(maker<RadiusDisplacementErrorMeasurementByTwoSegment>(2)) << 12 << circle
                        << "Отклонения от окружности с фильтрацией" << bySegmentsLog;
    QTest::newRow("16") << Make(maker<RDEMFiterByTwoSegment>(2)) << 12 << circle
                        << "Отклонения от окружности с фильтрацией" << bySegmentsLog;
}

void DeviationMeasurementsTest::kindsOfTheTable()
{
    QFETCH(Make, make);
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(QString, group);
    QFETCH(QString, logLine);

    DeviationScene s(noisyArc(), make);
    QCOMPARE(s.m->type(), type);
    QCOMPARE(s.m->name(), name);
    QCOMPARE(s.m->groupName(), group);
    QCOMPARE(logTexts().last(), QStringLiteral("INFO: ") + logLine);
    QVERIFY(s.m->yieldsValue());
    QCOMPARE(s.m->tolerance(), 5.0);
    QCOMPARE(s.m->nominalValue(), 0.0);
    QCOMPARE(s.m->valueText(), kUnknownText);
    QCOMPARE(s.m->value(), 0.0);
    QCOMPARE(s.m->unitText(), QStringLiteral("мкм"));
    QCOMPARE(s.curve->selectable(), QCP::stDataRange);
    QCOMPARE(s.scene.plot.selectionRectMode(), QCP::srmSelectRealtime);
}

void DeviationMeasurementsTest::placedDeviation_data()
{
    QTest::addColumn<Points>("trace");
    QTest::addColumn<Make>("make");
    QTest::addColumn<double>("least");
    QTest::addColumn<double>("most");

    QTest::newRow("line with a bump of 7") << lineWithBump(7) << Make(maker<RMSEMeasurement>()) << 6.9 << 7.1;
    QTest::newRow("circle, radii spread by 4") << noisyArc() << Make(maker<RDEMeasurement>()) << 3.0 << 4.1;
    QTest::newRow("circle of the arc's radius") << noisyArc() << Make(maker<RDEMSpecified>(800)) << 3.0 << 4.5;
    QTest::newRow("circle of a smaller radius") << noisyArc() << Make(maker<RDEMSpecified>(700)) << 10.0 << 200.0;
}

// Drag a stretch, move the band, place it.
void DeviationMeasurementsTest::placedDeviation()
{
    QFETCH(Points, trace);
    QFETCH(Make, make);
    QFETCH(double, least);
    QFETCH(double, most);

    DeviationScene s(trace, make);
    QSignalSpy status(s.m.get(), &Measurement::statusText);
    s.scene.dragAlong(s.curve, 40, 160);
    QVERIFY(s.m->isPlacing());
    QVERIFY(s.m->isSelectionLocked());
    QVERIFY(!signalTexts(status).contains(QStringLiteral("Расположите значение")));
    const Selection selection = *s.m->selection(0);
    QCOMPARE(selection.begin, 40);
    QCOMPARE(selection.end, 160);

    s.mouseTo(s.belowTrace());
    const double value = s.m->value();
    QVERIFY2(value >= least && value <= most, qPrintable(QString::number(value)));
    QCOMPARE(s.m->valueText(), QString::number(value, 'f', 6) + QStringLiteral("мкм"));
    QCOMPARE(s.deviationCurve()->dataCount(), 120);
    const double lowest = lowestBeforeLast(s.curve, selection);
    const QVector<double> drawn = valuesOf(s.deviationCurve());
    const auto [bottom, top] = std::minmax_element(drawn.begin(), drawn.end());
    KALVORA_COMPARE_NEAR(*bottom, s.m->band().baseline, 1e-9);
    KALVORA_COMPARE_NEAR(*top, lowest, 1e-9);
    QVERIFY(!s.m->deviationGraph().tickTexts().isEmpty());
    QVERIFY(s.m->valueLabel()->visible());
    QCOMPARE(bool(s.m->circleItem()), s.m->type() == CIRCLE_DEVIATION);
    if (s.m->circleItem())
        QVERIFY(s.m->circleItem()->visible());
    QCOMPARE(signalTexts(status).last(), s.m->name() + QStringLiteral(": ") + s.m->valueText());

    const int logged = logTexts().size();
    s.scene.click(s.scene.pixel(s.scene.plot.xAxis->range().center(), s.belowTrace()));
    QVERIFY(s.m->isFinished());
    QCOMPARE(s.m->value(), value);
    QCOMPARE(signalTexts(status).last(), s.m->name() + QStringLiteral(": ") + s.m->valueText());
    QCOMPARE(logTexts().size(), logged);
    QCOMPARE(s.m->valueLabel()->layer()->name(), QStringLiteral("overlay"));
}

// The running median over 250 um takes out the arc's noise, which alternates
// from point to point.
void DeviationMeasurementsTest::filterSmoothsNoise()
{
    DeviationScene plain(noisyArc(), Make(maker<RDEMeasurement>()));
    plain.scene.dragAlong(plain.curve, 20, 180);
    plain.mouseTo(plain.belowTrace());
    DeviationScene smoothed(noisyArc(), Make(maker<RadiusDisplacementFilterErrorMeasurement>()));
    smoothed.scene.dragAlong(smoothed.curve, 20, 180);
    smoothed.mouseTo(smoothed.belowTrace());

    QVERIFY(plain.m->value() > 3);
    QVERIFY2(smoothed.m->value() < 0.3 * plain.m->value(), qPrintable(QString::number(smoothed.m->value())));
    const int medians = smoothed.deviationCurve()->dataCount();
    QVERIFY(medians > 0 && medians < 160);
    // The k-th median is drawn a window on from the k-th selected key.
    QCOMPARE(smoothed.deviationCurve()->data()->constBegin()->key, curvePointKey(smoothed.curve, 20) + 250);
}

// 40 points 7 apart span less than one and a half windows of 250: there is
// no median, nothing is drawn, and the value is not computed, for a reason
// the status line gives.
void DeviationMeasurementsTest::shortStretchHasNoMedian()
{
    DeviationScene s(noisyArc(), Make(maker<RadiusDisplacementFilterErrorMeasurement>()));
    QSignalSpy status(s.m.get(), &Measurement::statusText);
    s.scene.dragAlong(s.curve, 80, 120);
    s.mouseTo(s.belowTrace());
    QVERIFY(s.m->isPlacing());
    QCOMPARE(s.deviationCurve()->dataCount(), 0);
    QVERIFY(!s.m->valueLabel()->visible());
    QVERIFY(!s.m->circleItem()->visible());
    QVERIFY(s.m->isValueNotComputed());
    QCOMPARE(s.m->valueText(), QStringLiteral("—"));
    QCOMPARE(signalTexts(status).last(),
             s.m->name() + QStringLiteral(": участок короче, чем нужно для медианы по 0.25 мм"));
}

void DeviationMeasurementsTest::bandFollowsMouse_data()
{
    QTest::addColumn<Points>("trace");
    QTest::addColumn<double>("mouseAboveLowest");
    QTest::addColumn<double>("baselineBelowLowest");
    QTest::addColumn<double>("labelRotation");

    QTest::newRow("mouse 30 above the lowest point") << lineWithBump(7) << 30.0 << 30.0 << 0.0;
    QTest::newRow("mouse 60 below it") << lineWithBump(7) << -60.0 << 60.0 << 0.0;
    QTest::newRow("curve drawn right to left") << reversed(lineWithBump(7)) << -60.0 << 60.0 << 180.0;
}

void DeviationMeasurementsTest::bandFollowsMouse()
{
    QFETCH(Points, trace);
    QFETCH(double, mouseAboveLowest);
    QFETCH(double, baselineBelowLowest);
    QFETCH(double, labelRotation);

    DeviationScene s(trace, Make(maker<RMSEMeasurement>()));
    s.scene.dragAlong(s.curve, 40, 160);
    const double lowest = lowestBeforeLast(s.curve, *s.m->selection(0));
    const QPoint mouse = s.scene.pixel(500, lowest + mouseAboveLowest);
    s.scene.move(mouse);

    const double mouseY = float(s.scene.plot.yAxis->pixelToCoord(mouse.y()));
    const double offset = std::abs(mouseY - lowest);
    QCOMPARE(s.m->band().lowest, lowest);
    KALVORA_COMPARE_NEAR(s.m->band().baseline, lowest - offset, 1e-3);
    KALVORA_COMPARE_NEAR(offset, baselineBelowLowest, 2 * (s.scene.plot.yAxis->range().size() / 300));
    KALVORA_COMPARE_NEAR(s.m->band().first.x(), curvePointKey(s.curve, 40), 1e-3);
    KALVORA_COMPARE_NEAR(s.m->band().last.x(), curvePointKey(s.curve, 159), 1e-3);
    QCOMPARE(s.m->valueLabel()->rotation(), labelRotation);
    QCOMPARE(s.m->valueLabel()->positionAlignment(), Qt::AlignHCenter | Qt::AlignTop);
    QCOMPARE(s.m->valueLabel()->position->coords(), s.m->band().baselineMiddle());
}

void DeviationMeasurementsTest::straightStretches_data()
{
    QTest::addColumn<Points>("trace");
    QTest::addColumn<QStringList>("ticks");

    Points level;
    for (int i = 0; i <= 200; ++i)
        level.append(QPointF(5 * i, 300));
    QTest::newRow("level: deviations exactly 0") << level << QStringList{"0"};
    QTest::newRow("sloped: deviations of round-off") << lineWithBump(0) << QStringList();
}

// Deviations that do not spread are drawn across the middle of the band with
// one tick; round-off that does spread gets a bounded scale.
void DeviationMeasurementsTest::straightStretches()
{
    QFETCH(Points, trace);
    QFETCH(QStringList, ticks);

    DeviationScene s(trace, Make(maker<RMSEMeasurement>()));
    s.scene.dragAlong(s.curve, 40, 160);
    s.mouseTo(s.belowTrace());
    QVERIFY(s.m->value() < 1e-9);
    QCOMPARE(s.m->valueText(), QStringLiteral("0.000000мкм"));
    QVERIFY(allFinite(s.deviationCurve()));
    const QStringList shown = s.m->deviationGraph().tickTexts();
    QVERIFY(shown.size() >= 1 && shown.size() <= 11);
    if (!ticks.isEmpty()) {
        QCOMPARE(shown, ticks);
        const double middle = s.m->band().baseline + s.m->band().height() / 2;
        for (double y : valuesOf(s.deviationCurve()))
            QCOMPARE(y, middle);
    }
}

void DeviationMeasurementsTest::severalStretches_data()
{
    QTest::addColumn<Make>("make");
    QTest::addColumn<bool>("smoothed");

    QTest::newRow("15") << Make(maker<RadiusDisplacementErrorMeasurementByTwoSegment>(2)) << false;
    QTest::newRow("16") << Make(maker<RDEMFiterByTwoSegment>(2)) << true;
}

void DeviationMeasurementsTest::severalStretches()
{
    QFETCH(Make, make);
    QFETCH(bool, smoothed);

    DeviationScene s(noisyArc(), make);
    QSignalSpy status(s.m.get(), &Measurement::statusText);
    s.scene.dragAlong(s.curve, 10, 60);
    QVERIFY(!s.m->isPlacing());
    s.mouseTo(s.belowTrace());
    QCOMPARE(signalTexts(status).last(), QStringLiteral("Продолжите выделения"));
    QCOMPARE(s.deviationCurve()->dataCount(), 0);

    s.scene.dragAlong(s.curve, 120, 190);
    QVERIFY(s.m->isPlacing());
    QCOMPARE(s.m->selectionCount(), 2);
    s.mouseTo(s.belowTrace());
    QCOMPARE(signalTexts(status).last(), s.m->name() + QStringLiteral(": ") + s.m->valueText());
    // One curve from the first stretch's start to the second's end, through the gap.
    const QCPCurve* drawn = s.deviationCurve();
    if (smoothed) {
        QVERIFY(drawn->dataCount() > 0);
        QVERIFY(s.m->value() < 2);
    } else {
        QCOMPARE(drawn->dataCount(), 180);
        QCOMPARE(drawn->data()->constBegin()->key, curvePointKey(s.curve, 10));
        QCOMPARE((drawn->data()->constEnd() - 1)->key, curvePointKey(s.curve, 189));
        QVERIFY(s.m->value() > 3 && s.m->value() < 4.5);
    }
    KALVORA_COMPARE_NEAR(s.m->band().first.x(), curvePointKey(s.curve, 10), 1e-3);
    KALVORA_COMPARE_NEAR(s.m->band().last.x(), curvePointKey(s.curve, 189), 1e-3);
    const QCPItemEllipse* circle = s.m->circleItem();
    KALVORA_COMPARE_NEAR(circle->bottomRight->coords().x() - circle->topLeft->coords().x(), 1600, 5);

    s.scene.click(s.scene.pixel(1000, s.belowTrace()));
    QVERIFY(s.m->isFinished());
}

// The stretches must lie on one trace: one picked on a second trace leaves
// the measurement asking for more.
void DeviationMeasurementsTest::stretchOnAnotherTrace()
{
    ContourScene scene;
    AdaptiveCurve* first = scene.addTrace(noisyArc());
    AdaptiveCurve* second = scene.addTrace(arcPoints(QPointF(1000, -150), 800, 40, 140, 200));
    scene.fitAxes();
    scene.showBelowTraces();
    RadiusDisplacementErrorMeasurementByTwoSegment m(&scene.plot, 2, 2);
    scene.plot.replot();
    QSignalSpy status(&m, &Measurement::statusText);

    scene.dragAlong(first, 10, 60);
    scene.dragAlong(second, 120, 190);
    QVERIFY(m.isPlacing());
    scene.move(scene.pixel(1000, scene.belowTraces()));
    QCOMPARE(signalTexts(status).last(), QStringLiteral("Продолжите выделения"));
    QCOMPARE(m.deviationGraph().curve()->dataCount(), 0);
    QVERIFY(!m.valueLabel()->visible());
}

void DeviationMeasurementsTest::liveDragStaysFinite_data()
{
    QTest::addColumn<Points>("trace");
    QTest::addColumn<Make>("make");

    Points straight;
    for (int i = 0; i <= 200; ++i)
        straight.append(QPointF(5 * i, 300 + 0.5 * i));
    QTest::newRow("11 on a line") << straight << Make(maker<RMSEMeasurement>());
    QTest::newRow("12 on a line") << straight << Make(maker<RDEMeasurement>());
    QTest::newRow("13 on a line") << straight << Make(maker<RDEMSpecified>(800));
    QTest::newRow("14 on a line") << straight << Make(maker<RadiusDisplacementFilterErrorMeasurement>());
    QTest::newRow("11 on an arc") << noisyArc() << Make(maker<RMSEMeasurement>());
    QTest::newRow("12 on an arc") << noisyArc() << Make(maker<RDEMeasurement>());
    QTest::newRow("13 on an arc") << noisyArc() << Make(maker<RDEMSpecified>(800));
    QTest::newRow("14 on an arc") << noisyArc() << Make(maker<RadiusDisplacementFilterErrorMeasurement>());
}

// Every frame of a drag, from ranges of no, one and two points up: the window
// answers at once and nothing that is not finite is drawn.
void DeviationMeasurementsTest::liveDragStaysFinite()
{
    QFETCH(Points, trace);
    QFETCH(Make, make);

    DeviationScene s(trace, make);
    s.scene.move(s.scene.pixelAt(s.curve, 50));
    s.scene.press(s.scene.pixelAt(s.curve, 50));
    for (int i = 50; i <= 90; ++i) {
        s.scene.move(s.scene.pixelAt(s.curve, i));
        QVERIFY(allFinite(s.deviationCurve()));
        QVERIFY(std::isfinite(s.m->value()));
        QVERIFY(std::isfinite(s.m->band().baseline));
        QVERIFY(std::isfinite(s.m->valueLabel()->position->coords().y()));
    }
    s.scene.release(s.scene.pixelAt(s.curve, 90));
    QCOMPARE(s.m->selection(0)->end, 90);
}

void DeviationMeasurementsTest::labelShowsReportLabel()
{
    DeviationScene s(lineWithBump(7), Make(maker<RMSEMeasurement>()));
    s.scene.dragAlong(s.curve, 40, 160);
    s.m->setLabelText(QStringLiteral("A1"));
    s.m->updateLabel();
    QCOMPARE(s.m->valueLabel()->text(), QStringLiteral("A1"));
    s.mouseTo(s.belowTrace());
    QCOMPARE(s.m->valueLabel()->text(), QStringLiteral("\nA1"));

    const QFont normal = s.m->valueLabel()->font();
    s.m->setLabelEnlarged(true);
    QCOMPARE(s.m->valueLabel()->font().pointSize(), 20);
    s.m->setLabelEnlarged(false);
    QCOMPARE(s.m->valueLabel()->font(), normal);
}

void DeviationMeasurementsTest::scaleStaysClear_data()
{
    QTest::addColumn<Points>("trace");
    QTest::addColumn<Make>("make");
    QTest::addColumn<Stretches>("stretches");
    // Another measurement's label at a point of the plot, or none.
    QTest::addColumn<QString>("otherLabel");
    QTest::addColumn<QPointF>("otherLabelAt");

    QTest::newRow("11 on the level beside a V groove, the angle's label in it")
        << levelBesideVee() << Make(maker<RMSEMeasurement>()) << Stretches{{30, 119}} << QStringLiteral("α_1")
        << QPointF(700, 240);
    QTest::newRow("12 on an arched top") << archedTop() << Make(maker<RDEMeasurement>()) << Stretches{{90, 210}}
                                         << QString() << QPointF();
    QTest::newRow("14 on an arched top") << archedTop() << Make(maker<RadiusDisplacementFilterErrorMeasurement>())
                                         << Stretches{{40, 260}} << QString() << QPointF();
    QTest::newRow("15 on an arched top") << archedTop()
                                         << Make(maker<RadiusDisplacementErrorMeasurementByTwoSegment>(2))
                                         << Stretches{{90, 130}, {170, 210}} << QString() << QPointF();
    QTest::newRow("32 on an arched top") << archedTop() << Make(maker<ErrorPlane>(&archDrawing()))
                                         << Stretches{{90, 210}} << QString() << QPointF();
}

// In a band 40 px high the ticks are 5 px apart; the contour beside the
// stretch crosses the band's heights. The labels of the scale overlap neither
// each other nor the curves nor another label: while the band is placed, once
// it is, zoomed out, and in an image rendered at another size.
void DeviationMeasurementsTest::scaleStaysClear()
{
    QFETCH(Points, trace);
    QFETCH(Make, make);
    QFETCH(Stretches, stretches);
    QFETCH(QString, otherLabel);
    QFETCH(QPointF, otherLabelAt);

    DeviationScene s(trace, make);
    QVector<const QCPItemText*> others;
    if (!otherLabel.isEmpty()) {
        auto* label = new QCPItemText(&s.scene.plot);
        label->setFont(QFont(QStringLiteral("MS Shell Dlg 2"), 20));
        label->setText(otherLabel);
        label->position->setCoords(otherLabelAt);
        others.append(label);
    }
    for (const auto& [from, to] : stretches)
        s.scene.dragAlong(s.curve, from, to);
    QVERIFY(s.m->isPlacing());
    const QPoint lowestPoint = s.scene.pixel(500, s.m->band().lowest);
    s.scene.move(lowestPoint + QPoint(0, 40));
    QVERIFY2(s.m->deviationGraph().tickMarks().size() >= 5, "ticks closer than a label's height");
    QCOMPARE(scaleProblems(*s.m, {s.curve}, others), QString());

    s.scene.click(lowestPoint + QPoint(0, 40));
    QVERIFY(s.m->isFinished());
    s.scene.plot.replot();
    QCOMPARE(scaleProblems(*s.m, {s.curve}, others), QString());

    zoomOut(s.scene.plot);
    QCOMPARE(scaleProblems(*s.m, {s.curve}, others), QString());

    // Checked after the scale's own layout at each layout of the rendering.
    QString inImage = QStringLiteral("not laid out");
    const QSize laidOutFor = zoomBackAndRender(s.scene.plot, QSize(1000, 300),
                                               [&] { inImage = scaleProblems(*s.m, {s.curve}, others); });
    QCOMPARE(laidOutFor, QSize(1000, 300));
    QCOMPARE(inImage, QString());
}

// A radius given in micrometres is 0.8 after a switch to millimetres, and the
// circle laid onto the rescaled trace keeps its deviation.
void DeviationMeasurementsTest::givenRadiusFollowsUnit()
{
    DeviationScene s(noisyArc(), Make(maker<RDEMSpecified>(800)));
    auto* m = static_cast<RDEMSpecified*>(s.m.get());
    s.scene.dragAlong(s.curve, 40, 160);
    s.mouseTo(s.belowTrace());
    const double micrometres = m->value();

    setAxisUnit(0);
    QVector<QCPCurveData> rescaled;
    for (auto it = s.curve->data()->constBegin(); it != s.curve->data()->constEnd(); ++it)
        rescaled.append(QCPCurveData(it->t, it->key / 1000, it->value / 1000));
    s.curve->data()->set(rescaled, true);
    m->calculate();
    QCOMPARE(m->radius(), 0.8);
    QCOMPARE(m->unitText(), QStringLiteral("мм"));
    KALVORA_COMPARE_NEAR(m->value(), micrometres / 1000, micrometres * 1e-6);

    setAxisUnit(kMicrometres);
    m->reloadSettings();
    QCOMPARE(m->radius(), 800.0);
}

void DeviationMeasurementsTest::deletionLeavesNothing_data()
{
    QTest::addColumn<Make>("make");
    QTest::addColumn<bool>("finish");

    QTest::newRow("11 open") << Make(maker<RMSEMeasurement>()) << false;
    QTest::newRow("11 finished") << Make(maker<RMSEMeasurement>()) << true;
    QTest::newRow("12 finished") << Make(maker<RDEMeasurement>()) << true;
    QTest::newRow("13 open") << Make(maker<RDEMSpecified>(800)) << false;
    QTest::newRow("14 finished") << Make(maker<RadiusDisplacementFilterErrorMeasurement>()) << true;
    QTest::newRow("15 finished") << Make(maker<RadiusDisplacementErrorMeasurementByTwoSegment>(1)) << true;
    QTest::newRow("16 open") << Make(maker<RDEMFiterByTwoSegment>(1)) << false;
}

void DeviationMeasurementsTest::deletionLeavesNothing()
{
    QFETCH(Make, make);
    QFETCH(bool, finish);
    ContourScene scene;
    AdaptiveCurve* curve = scene.addTrace(noisyArc());
    scene.fitAxes();
    scene.showBelowTraces();
    // With the plot's own selection marker, which comes with the range selection.
    scene.plot.setInteractions(QCP::iRangeSelection);
    const PlotContents before(scene.plot);

    std::unique_ptr<ErrorMeasurement> m(make(&scene.plot));
    scene.plot.replot();
    scene.dragAlong(curve, 20, 180);
    scene.move(scene.pixel(1000, scene.belowTraces()));
    if (finish)
        scene.click(scene.pixel(1000, scene.belowTraces()));
    QCOMPARE(m->isFinished(), finish);
    QVERIFY(scene.plot.itemCount() > before.items);
    const QString deleted
        = QStringLiteral("INFO: ") + m->name() + QStringLiteral(" delete with value: ") + m->valueText();
    m.reset();

    QVERIFY(PlotContents(scene.plot) == before);
    QCOMPARE(logTexts().last(), deleted);
}

KALVORA_TEST_MAIN(DeviationMeasurementsTest)
#include "DeviationMeasurementsTest.moc"
