#include "ProbeMeasurement.h"

#include "measurements/RangeProtocol.h"

#include "plot/AdaptiveCurve.h"

#include "DebugCapture.h"
#include "LogTexts.h"
#include "PlotFixture.h"
#include "SignalTexts.h"
#include "TestMain.h"

Q_DECLARE_METATYPE(RangeProtocol::Step)

namespace {

// A kind driven by ranges the way the families are: its release handler
// hands each release to the protocol.
class RangeProbe : public ProbeMeasurement
{
public:
    RangeProbe(PlotWidget* plot, const RangeProtocol::Options& options)
        : ProbeMeasurement(plot)
        , protocol(this, options)
    {
        RangeProtocol::prepareRangeSelection(plot, -1);
        addConnection(connect(plot, &QCustomPlot::mouseRelease, this,
                              [this](QMouseEvent* event) { steps << protocol.release(event); }));
    }

    RangeProtocol protocol;
    QList<RangeProtocol::Step> steps;
};

RangeProtocol::Options finishing(int ranges, const QString& finishLine)
{
    RangeProtocol::Options options;
    options.rangesNeeded = ranges;
    options.finishLine = [finishLine] { return finishLine; };
    return options;
}

// The selection marker is the one item on the layer "overlay2".
bool markerVisible(PlotWidget& plot)
{
    const QList<QCPLayerable*> items = plot.layer(QStringLiteral("overlay2"))->children();
    return items.size() == 1 && items.first()->visible();
}

} // namespace

class RangeProtocolTest : public QObject
{
    Q_OBJECT
private slots:
    void rangesThenPlacing();
    void otherButtonsIgnored();
    void strayFirstClickLeavesRecordEmpty();
    void silentKinds();
    void prepareMakesCurvesSelectable_data();
    void prepareMakesCurvesSelectable();
};

void RangeProtocolTest::rangesThenPlacing()
{
    PlotFixture f;
    f.addHorizontalCurve<AdaptiveCurve>(50);
    RangeProbe m(&f.plot, finishing(2, QStringLiteral("Finish")));
    f.plot.replot();
    QSignalSpy status(&m, &Measurement::statusText);

    f.drag(f.pixel(10, 50), f.pixel(30, 50));
    QCOMPARE(m.steps, QList<RangeProtocol::Step>({RangeProtocol::NextRange}));
    QCOMPARE(m.selectionCount(), 2);
    QVERIFY(!m.protocol.isPlacing());
    QVERIFY(markerVisible(f.plot));

    f.drag(f.pixel(60, 50), f.pixel(70, 50));
    QCOMPARE(m.steps.last(), RangeProtocol::Locked);
    QCOMPARE(m.protocol.completedRanges(), 2);
    QVERIFY(m.protocol.isPlacing());
    QVERIFY(m.isSelectionLocked());
    QVERIFY(m.selectionsComplete());
    QCOMPARE(signalTexts(status), QStringList({"Расположите значение"}));
    QVERIFY(!markerVisible(f.plot));

    const int before = m.calculations;
    f.move(f.pixel(80, 70));
    QCOMPARE(m.calculations, before + 1);

    f.press(f.pixel(80, 70));
    f.release(f.pixel(80, 70));
    QCOMPARE(m.steps.last(), RangeProtocol::Finished);
    QVERIFY(m.isFinished());
    QVERIFY(!m.highlighted);
    QVERIFY(markerVisible(f.plot));
    const QString result = QStringLiteral("Проба: ") + m.valueText();
    QCOMPARE(signalTexts(status).last(), result);
    const QStringList log = logTexts();
    const int finish = log.lastIndexOf(QStringLiteral("INFO: Finish"));
    QVERIFY(finish >= 0);
    QCOMPARE(log.value(finish + 1), QStringLiteral("INFO: Result - ") + result);
    QCOMPARE(m.selection(0)->begin, 10);
    QCOMPARE(m.selection(1)->end, 70);
}

void RangeProtocolTest::otherButtonsIgnored()
{
    PlotFixture f;
    f.addHorizontalCurve<AdaptiveCurve>(50);
    RangeProbe m(&f.plot, finishing(1, QStringLiteral("Finish")));
    f.plot.replot();
    QTest::mousePress(f.plot.windowHandle(), Qt::RightButton, Qt::NoModifier, f.pixel(20, 50));
    QTest::mouseRelease(f.plot.windowHandle(), Qt::RightButton, Qt::NoModifier, f.pixel(20, 50));
    QCOMPARE(m.steps, QList<RangeProtocol::Step>({RangeProtocol::Ignored}));
    QCOMPARE(m.protocol.completedRanges(), 0);
}

// A click that picked nothing still counts as a range: its record stays
// empty for good, and the value is placed without a complete selection.
void RangeProtocolTest::strayFirstClickLeavesRecordEmpty()
{
    PlotFixture f;
    f.addHorizontalCurve<AdaptiveCurve>(50);
    RangeProbe m(&f.plot, finishing(2, QStringLiteral("Finish")));
    f.plot.replot();
    const QRect area = f.plot.axisRect()->rect();
    const QPoint outside(area.left() - 20, area.center().y());
    f.move(outside);
    f.press(outside);
    f.release(outside);
    QCOMPARE(m.steps, QList<RangeProtocol::Step>({RangeProtocol::NextRange}));

    f.drag(f.pixel(20, 50), f.pixel(40, 50));
    QCOMPARE(m.steps.last(), RangeProtocol::Locked);
    QCOMPARE(m.selectionCount(), 2);
    QVERIFY(!m.selection(0)->plottable);
    QVERIFY(!m.selectionsComplete());
    f.press(f.pixel(50, 60));
    f.release(f.pixel(50, 60));
    QVERIFY(m.isFinished());
    QVERIFY(!m.selectionsComplete());
}

// Kinds that neither prompt when the selection locks nor log their finish.
void RangeProtocolTest::silentKinds()
{
    PlotFixture f;
    f.addHorizontalCurve<AdaptiveCurve>(50);
    RangeProtocol::Options options;
    options.promptWhenLocked = false;
    RangeProbe m(&f.plot, options);
    f.plot.replot();
    QSignalSpy status(&m, &Measurement::statusText);
    const int logged = logTexts().size();
    f.drag(f.pixel(20, 50), f.pixel(40, 50));
    QCOMPARE(m.steps.last(), RangeProtocol::Locked);
    QVERIFY(status.isEmpty());
    f.press(f.pixel(50, 60));
    f.release(f.pixel(50, 60));
    QCOMPARE(signalTexts(status), QStringList({QStringLiteral("Проба: ") + m.valueText()}));
    QCOMPARE(logTexts().size(), logged);
}

void RangeProtocolTest::prepareMakesCurvesSelectable_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("selectableByRange");
    QTest::newRow("all curves") << -1 << 3;
    QTest::newRow("the first one") << 1 << 1;
    QTest::newRow("more than there are") << 5 << 3;
}

void RangeProtocolTest::prepareMakesCurvesSelectable()
{
    QFETCH(int, count);
    QFETCH(int, selectableByRange);
    PlotFixture f;
    for (double y : {20.0, 50.0, 80.0})
        f.addHorizontalCurve<AdaptiveCurve>(y)->setSelectable(QCP::stNone);
    DebugCapture capture;
    RangeProtocol::prepareRangeSelection(&f.plot, count);
    QVERIFY(capture.messages().filter("index out of bounds").isEmpty());
    for (int i = 0; i < f.plot.curveCount(); ++i)
        QCOMPARE(f.plot.curve(i)->selectable(), i < selectableByRange ? QCP::stDataRange : QCP::stNone);
    QCOMPARE(f.plot.interactions(), QCP::iRangeSelection | QCP::iSelectPlottables | QCP::iRangeZoom);
    QCOMPARE(f.plot.selectionRectMode(), QCP::srmSelectRealtime);
    QVERIFY(f.plot.hasSelectionMarker());
}

KALVORA_TEST_MAIN(RangeProtocolTest)
#include "RangeProtocolTest.moc"
