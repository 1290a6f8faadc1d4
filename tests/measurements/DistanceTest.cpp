#include "measurements/DirectDistanceMeasurement.h"
#include "measurements/HorisontalDistanceMeasurment.h"
#include "measurements/MeanHeightMeasurement.h"
#include "measurements/ReperPoint.h"
#include "measurements/VerticalDistanceMeasurment.h"
#include "measurements/math/Dimension.h"

#include "plot/AdaptiveCurve.h"

#include "FuzzyCompare.h"
#include "LogTexts.h"
#include "PlotFixture.h"
#include "SettingsFixture.h"
#include "SignalTexts.h"
#include "TestMain.h"

#include <memory>

namespace {

void setPicking(bool alternative, int axisUnit)
{
    changeSettings([&](AppSettings& settings) {
        settings.preferenses.alternative_measurement = alternative;
        settings.view.axis_unit = axisUnit;
    });
}

std::unique_ptr<DistanceMeasurement> createPointKind(int kind, PlotWidget* plot)
{
    switch (kind) {
    case VERTICAL_DISTANCE:
        return std::make_unique<VerticalDistanceMeasurment>(plot);
    case HORIZONTAL_DISTANCE:
        return std::make_unique<HorisontalDistanceMeasurment>(plot);
    default:
        return std::make_unique<DirectDistanceMeasurement>(plot);
    }
}

// A trace through (10, 20), (20, 30), (40, 60), (70, 60).
AdaptiveCurve* addTrace(PlotFixture& f)
{
    auto* curve = new AdaptiveCurve(f.plot.xAxis, f.plot.yAxis);
    curve->addData({10, 20, 40, 70}, {20, 30, 60, 60});
    return curve;
}

// The line after `line` in the log, empty when `line` is not there.
QString logLineAfter(const QString& line)
{
    const QStringList log = logTexts();
    const int at = log.lastIndexOf(line);
    return at < 0 ? QString() : log.value(at + 1);
}

QCPItemText* labelOf(PlotWidget& plot)
{
    for (int i = 0; i < plot.itemCount(); ++i) {
        if (auto* label = qobject_cast<QCPItemText*>(plot.item(i)))
            return label;
    }
    return nullptr;
}

} // namespace

class DistanceTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void pointKinds_data();
    void pointKinds();
    void labelAlignmentAfterUpdateLabel();
    void meanHeight_data();
    void meanHeight();
    void meanHeightFollowsChangedData();
};

void DistanceTest::cleanup()
{
    setPicking(false, 0);
}

void DistanceTest::pointKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("alternative");
    QTest::addColumn<int>("axisUnit");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("valueText");
    QTest::addColumn<QString>("startLine");

    const QString direct = QStringLiteral("INFO: DirectDistanceMeasurement started in (10.000000,20.000000)");
    const QString horizontal = QStringLiteral("INFO: HorisontalDistanceMeasurment started in (10.000000,20.000000)");
    const QString vertical = QStringLiteral("INFO: VerticalDistanceMeasurment started in (10.000000,20.000000)");
    QTest::newRow("Прямая, three clicks") << int(DIRECT_DISTANCE) << false << 0 << 50.0 << "50.0000мм" << direct;
    QTest::newRow("Прямая, drag and click") << int(DIRECT_DISTANCE) << true << 0 << 50.0 << "50.0000мм" << direct;
    QTest::newRow("Прямая in micrometres") << int(DIRECT_DISTANCE) << false << 1 << 50.0 << "50.0000мкм" << direct;
    QTest::newRow("Длина, three clicks") << int(HORIZONTAL_DISTANCE) << false << 0 << 30.0 << "30.0000мм"
                                         << horizontal;
    QTest::newRow("Длина, drag and click") << int(HORIZONTAL_DISTANCE) << true << 0 << 30.0 << "30.0000мм"
                                           << horizontal;
    QTest::newRow("Высота, three clicks") << int(VERTICAL_DISTANCE) << false << 0 << 40.0 << "40.0000мм" << vertical;
    QTest::newRow("Высота, drag and click") << int(VERTICAL_DISTANCE) << true << 0 << 40.0 << "40.0000мм"
                                            << vertical;
    QTest::newRow("Высота in nanometres") << int(VERTICAL_DISTANCE) << true << 2 << 40.0 << "40.0000нм" << vertical;
}

// The first point is where the snap was when the measurement was created
// (the press that creates it), the second where the picking ends; the value
// is placed with one more click.
void DistanceTest::pointKinds()
{
    QFETCH(int, kind);
    QFETCH(bool, alternative);
    QFETCH(int, axisUnit);
    QFETCH(double, value);
    QFETCH(QString, valueText);
    QFETCH(QString, startLine);
    setPicking(alternative, axisUnit);

    PlotFixture f;
    addTrace(f);
    f.plot.setInteractions(QCP::iRangeSelection);
    f.plot.replot();
    const QPoint a = f.pixel(11, 21);
    const QPoint b = f.pixel(39, 58);
    const QPoint place = f.pixel(85, 90);

    f.move(a);
    std::unique_ptr<DistanceMeasurement> m = createPointKind(kind, &f.plot);
    QSignalSpy status(m.get(), &Measurement::statusText);
    QCOMPARE(logTexts().last(), startLine);
    if (alternative) {
        f.press(a);
        f.move((a + b) / 2);
        f.move(b);
        f.release(b);
    } else {
        f.press(a);
        f.release(a);
        QVERIFY(status.isEmpty());
        f.move(b);
        f.press(b);
        f.release(b);
    }
    QCOMPARE(signalTexts(status).last(), QStringLiteral("Расположите значение"));
    QVERIFY(!m->isFinished());

    f.move(place);
    QCOMPARE(m->value(), value);
    QCOMPARE(m->valueText(), valueText);
    QCOMPARE(signalTexts(status).last(), m->name() + QStringLiteral(": ") + valueText);
    QCOMPARE(m->reperPoints().at(0)->position(), QPointF(10, 20));
    QCOMPARE(m->reperPoints().at(1)->position(), QPointF(40, 60));
    QVERIFY(!m->isFinished());

    f.press(place);
    f.release(place);
    QVERIFY(m->isFinished());
    const QString result = QStringLiteral("INFO: Result - ") + m->name() + QStringLiteral(": ") + valueText;
    QCOMPARE(logLineAfter(QStringLiteral("INFO: Finished in (40.000000,60.000000)")), result);

    // Finished: the cursor no longer moves the dimension.
    f.move(f.pixel(5, 5));
    QCOMPARE(m->valueText(), valueText);
    const QString name = m->name();
    m.reset();
    QCOMPARE(logTexts().last(), QStringLiteral("INFO: ") + name + QStringLiteral(" delete with value: ") + valueText);
}

// The point kinds' labels keep the alignment of their last calculation; the
// mean height's calculation never stores one, so its label falls back to 0.
void DistanceTest::labelAlignmentAfterUpdateLabel()
{
    PlotFixture f;
    addTrace(f);
    f.plot.setInteractions(QCP::iRangeSelection);
    f.plot.replot();
    f.move(f.pixel(10, 20));
    DirectDistanceMeasurement direct(&f.plot);
    f.press(f.pixel(10, 20));
    f.release(f.pixel(10, 20));
    f.move(f.pixel(70, 60));
    f.press(f.pixel(70, 60));
    f.release(f.pixel(70, 60));
    QCPItemText* label = labelOf(f.plot);
    QVERIFY(label);

    f.move(f.pixel(40, 10));
    QCOMPARE(int(label->positionAlignment()), MeasurementMath::kAnchoredAtTop);
    f.move(f.pixel(40, 90));
    QCOMPARE(int(label->positionAlignment()), MeasurementMath::kAnchoredAtBottom);
    direct.setLabelText(QStringLiteral("A_1"));
    direct.updateLabel();
    QCOMPARE(label->text(), QStringLiteral("A_1"));
    QCOMPARE(int(label->positionAlignment()), MeasurementMath::kAnchoredAtBottom);
}

void DistanceTest::meanHeight_data()
{
    QTest::addColumn<bool>("alternative");
    QTest::newRow("ordinary picking") << false;
    QTest::newRow("alternative picking") << true;
}

// Stretches along y = 20 and y = 50, the second one reaching the curve's
// last point: 30 apart wherever the cursor stands.
void DistanceTest::meanHeight()
{
    QFETCH(bool, alternative);
    setPicking(alternative, 0);
    PlotFixture f;
    f.addHorizontalCurve<AdaptiveCurve>(20);
    f.addHorizontalCurve<AdaptiveCurve>(50);
    MeanHeightMeasurement m(&f.plot, 2);
    f.plot.replot();
    QSignalSpy status(&m, &Measurement::statusText);
    QCOMPARE(logTexts().last(), QStringLiteral("INFO: MeanHeightMeasurement started"));

    f.drag(f.pixel(10, 20), f.pixel(30, 20));
    f.move(f.pixel(40, 35));
    QCOMPARE(signalTexts(status).last(), QStringLiteral("Выделите две области для расчета"));
    // The axis rect's right border lies just outside it.
    f.drag(f.pixel(60, 50), f.pixel(100, 50) - QPoint(1, 0));
    QCOMPARE(signalTexts(status).last(), QStringLiteral("Расположите значение"));
    QCOMPARE(m.selection(1)->end, 100);

    QCPItemText* label = labelOf(f.plot);
    QVERIFY(label);
    for (double x : {45.0, 5.0, 95.0}) {
        f.move(f.pixel(x, 70));
        QCOMPARE(m.value(), 30.0);
        QCOMPARE(m.valueText(), QStringLiteral("30.0000мм"));
        KALVORA_COMPARE_NEAR(label->position->coords().x(), m.cursorPosition().x(), 1e-9);
    }
    QCOMPARE(m.reperPoints().at(0)->position(), QPointF(20, 20));
    QCOMPARE(m.reperPoints().at(1)->position(), QPointF(80, 50));
    QCOMPARE(int(label->positionAlignment()), MeasurementMath::kAnchoredAtBottom);
    QCOMPARE(label->rotation(), 90.0);

    f.press(f.pixel(95, 70));
    f.release(f.pixel(95, 70));
    QVERIFY(m.isFinished());
    QCOMPARE(logLineAfter(QStringLiteral("INFO: Finished")), QStringLiteral("INFO: Result - Ср. Высота: 30.0000мм"));
    m.updateLabel();
    QCOMPARE(int(label->positionAlignment()), 0);
}

// A recalculation after the trace data changed (rescaled for another display
// unit, rotated by a lay-flat) fits the changed data, not the lines of the
// ranges as they were.
void DistanceTest::meanHeightFollowsChangedData()
{
    PlotFixture f;
    AdaptiveCurve* low = f.addHorizontalCurve<AdaptiveCurve>(20);
    AdaptiveCurve* high = f.addHorizontalCurve<AdaptiveCurve>(50);
    MeanHeightMeasurement m(&f.plot, 2);
    f.plot.replot();
    f.drag(f.pixel(10, 20), f.pixel(30, 20));
    f.drag(f.pixel(60, 50), f.pixel(90, 50));
    f.move(f.pixel(50, 70));
    QCOMPARE(m.value(), 30.0);

    for (AdaptiveCurve* curve : {low, high}) {
        for (auto it = curve->data()->begin(); it != curve->data()->end(); ++it)
            it->value *= 2;
    }
    m.calculate();
    QCOMPARE(m.value(), 60.0);
}

KALVORA_TEST_MAIN(DistanceTest)
#include "DistanceTest.moc"
