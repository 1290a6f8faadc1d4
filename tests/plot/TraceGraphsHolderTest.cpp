#include <QtTest>

#include <cmath>
#include <limits>

#include "AppSettings.h"
#include "AreaRatioCurve.h"
#include "Constants.h"
#include "DrawingConstants.h"
#include "DebugCapture.h"
#include "FilterRoughnessProfileProcessor.h"
#include "FuzzyCompare.h"
#include "HeightDistribution.h"
#include "HolderFixture.h"
#include "TestMain.h"
#include "ThreadAngleCompensationProcessor.h"
#include "TraceTypes.h"

namespace {

using fixtures::kPi;

// Items, plottables and registered curves of a plot.
struct PlotContents
{
    int items = 0;
    int plottables = 0;
    int graphs = 0;
    int curves = 0;

    explicit PlotContents(const PlotWidget& plot)
        : items(plot.itemCount())
        , plottables(plot.plottableCount())
        , graphs(plot.graphCount())
        , curves(plot.curveCount())
    {
    }
    bool operator==(const PlotContents& other) const
    {
        return items == other.items && plottables == other.plottables && graphs == other.graphs &&
               curves == other.curves;
    }
};

ProfileData rampProfile(int points)
{
    return fixtures::sampled(0, points - 1, 1, [](double x) { return 0.5 * x; });
}

QVector<double> columnOf(const AbstractTrace& trace, int column, bool raw)
{
    const LockedTraceData locked = raw ? trace.lockedRawData() : trace.lockedData();
    return locked.data->value(column);
}

} // namespace

class TraceGraphsHolderTest : public QObject
{
    Q_OBJECT
private slots:
    void itemsOnTheThreePlots();
    void holderPropertyNamesTheHolder();
    void destructorLeavesThePlotsAsTheyWere();
    void setUnit_data();
    void setUnit();
    void selectionPutsTheMarkersAtTheEnds();
    void cropKeepsTheSelectedPoints();
    void cropInAFilteredViewKeepsTheSelectedStretch_data();
    void cropInAFilteredViewKeepsTheSelectedStretch();
    void cropOfAContourTraceKeepsTheDisplayedStretch_data();
    void cropOfAContourTraceKeepsTheDisplayedStretch();
    void straighteningLeavesTheWavesAtTheRmsLevel();
    void visibilityKeepsHiddenPartsHidden();
    void levelLinesStandAtTheLevelInTheDisplayUnit();
    void heightDistributionIsStoredInMicrometres();
    void emptyHistogramWindowClearsTheBands();
    void ratioCurveFollowsTheVisibleHeights();
    void highlightUsesTheSelectedColour();
    void showPointsSwitchesTheCurveStyle();
};

void TraceGraphsHolderTest::itemsOnTheThreePlots()
{
    HolderFixture f(rampProfile(50));
    TraceGraphsHolder& holder = *f.holder;
    QCOMPARE(f.mainPlot.plottableCount(), 2);
    QCOMPARE(f.mainPlot.curveCount(), 1);
    QCOMPARE(f.mainPlot.curve(0), static_cast<QCPCurve*>(holder.profileCurve()));
    QCOMPARE(holder.histogramGraph()->keyAxis(), f.histogramPlot.yAxis);
    QCOMPARE(holder.histogramGraph()->valueAxis(), f.histogramPlot.xAxis);
    QCOMPARE(holder.ratioGraph()->keyAxis(), f.ratioPlot.yAxis);
    QCOMPARE(holder.ratioGraph()->valueAxis(), f.ratioPlot.xAxis);
    QCOMPARE(holder.profileCurve()->selectable(), QCP::stDataRange);
    QCOMPARE(holder.profileCurve()->pen(), kBlackPen);
    QCOMPARE(holder.ratioGraph()->pen(), kBlackPen);
    QCOMPARE(holder.fitGraph()->selectable(), QCP::stNone);
    QVERIFY(!holder.fitGraph()->visible());
    QCOMPARE(holder.fitGraph()->pen().color(), QColor(Qt::red));
    QCOMPARE(holder.fitGraph()->pen().style(), Qt::DotLine);

    const QVector<PlotWidget*> plots = {&f.mainPlot, &f.histogramPlot, &f.ratioPlot};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(holder.rmsLines()[i]->parentPlot(), plots[i]);
        QCOMPARE(holder.levelLines()[i]->parentPlot(), plots[i]);
        QCOMPARE(holder.rmsLines()[i]->pen().color(), QColor(Qt::red));
        QCOMPARE(holder.levelLines()[i]->pen().color(), QColor(Qt::blue));
        QVERIFY(!holder.rmsLines()[i]->visible() && !holder.levelLines()[i]->visible());
        QVERIFY(!holder.rmsLines()[i]->selectable() && !holder.levelLines()[i]->selectable());
    }
    QCOMPARE(holder.startMarker()->axis(), f.mainPlot.yAxis);
    QCOMPARE(holder.endMarker()->label()->pen(), kMagentaDashPen);
    QCOMPARE(holder.unitText(), QStringLiteral("мм"));
    QCOMPARE(holder.unitFactor(), 1.0);
    QCOMPARE(holder.histogramDensity(), AppSettings::instance().preferenses.histogramm_density_value);
}

void TraceGraphsHolderTest::holderPropertyNamesTheHolder()
{
    HolderFixture f(rampProfile(10));
    TraceGraphsHolder* holder = f.holder.get();
    for (QCPAbstractPlottable* plottable :
         {static_cast<QCPAbstractPlottable*>(holder->profileCurve()),
          static_cast<QCPAbstractPlottable*>(holder->histogramGraph()),
          static_cast<QCPAbstractPlottable*>(holder->ratioGraph())}) {
        const QVariant property = plottable->property("gholder");
        QCOMPARE(property.userType(), QMetaType::type("TraceGraphsHolder *"));
        QCOMPARE(property.value<TraceGraphsHolder*>(), holder);
        QCOMPARE(TraceGraphsHolder::fromPlottable(plottable), holder);
    }
    QCOMPARE(TraceGraphsHolder::fromPlottable(holder->fitGraph()), nullptr);
}

void TraceGraphsHolderTest::destructorLeavesThePlotsAsTheyWere()
{
    PlotWidget mainPlot, histogramPlot, ratioPlot;
    new PlotCurve(mainPlot.xAxis, mainPlot.yAxis);
    histogramPlot.addGraph();
    const PlotContents before[3] = {PlotContents(mainPlot), PlotContents(histogramPlot), PlotContents(ratioPlot)};

    ProfileTrace trace(rampProfile(40));
    {
        TraceGraphsHolder holder(nullptr, &trace, &mainPlot, &histogramPlot, &ratioPlot);
        holder.updateGraphs(true, false);
        holder.profileCurve()->setSelection(QCPDataSelection(QCPDataRange(3, 9)));
        holder.markLevel(1);
        QVERIFY(PlotContents(mainPlot).curves == 2);
    }
    QVERIFY(PlotContents(mainPlot) == before[0]);
    QVERIFY(PlotContents(histogramPlot) == before[1]);
    QVERIFY(PlotContents(ratioPlot) == before[2]);
}

void TraceGraphsHolderTest::setUnit_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("key");

    // The trace's point at 2000 um, drawn after the second call.
    QTest::newRow("mm") << "mkm" << "mm" << QStringLiteral("мм") << 2.0;
    QTest::newRow("mkm after mm") << "mm" << "mkm" << QStringLiteral("мкм") << 2000.0;
    QTest::newRow("nm") << "mm" << "nm" << QStringLiteral("нм") << 2000000.0;
    QTest::newRow("MM changes nothing") << "mkm" << "MM" << QStringLiteral("мкм") << 2000.0;
    QTest::newRow("empty changes nothing") << "nm" << "" << QStringLiteral("нм") << 2000000.0;
}

void TraceGraphsHolderTest::setUnit()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, text);
    QFETCH(double, key);

    HolderFixture f(fixtures::sampled(0, 4000, 1000, [](double) { return 1.0; }));
    f.holder->setUnit(first, false);
    f.holder->updateGraphs(false, false);
    const QVector<double> keysBefore = f.holder->keys();
    f.holder->setUnit(second, false);
    QCOMPARE(f.holder->keys(), keysBefore);

    f.holder->setUnit(second, true);
    QCOMPARE(f.holder->unitText(), text);
    QCOMPARE(f.holder->keys().value(2), key);
    QCOMPARE(f.holder->profileCurve()->data()->at(2)->key, key);
    QCOMPARE(f.holder->values().value(2), key / 2000);
}

void TraceGraphsHolderTest::selectionPutsTheMarkersAtTheEnds()
{
    HolderFixture f(fixtures::sampled(0, 49, 1, [](double x) { return std::sin(x); }));
    TraceGraphsHolder& holder = *f.holder;
    holder.setUnit("mkm", false);
    holder.updateGraphs(false, false);

    DebugCapture debug;
    holder.profileCurve()->setSelection(QCPDataSelection(QCPDataRange(10, 20)));
    QVERIFY(holder.markersShown());
    QCOMPARE(holder.startMarker()->x(), 10.0);
    QCOMPARE(holder.startMarker()->value(), std::sin(10.0));
    QCOMPARE(holder.endMarker()->x(), 19.0);
    QCOMPARE(holder.endMarker()->value(), std::sin(19.0));
    QCOMPARE(holder.startMarker()->label()->text(), QStringLiteral("10"));
    QCOMPARE(holder.endMarker()->label()->text(), QStringLiteral("19"));
    QVERIFY(holder.startMarker()->line()->visible() && holder.endMarker()->label()->visible());
    QVERIFY(debug.contains(QStringLiteral("selection change ended")));

    debug.clear();
    holder.profileCurve()->setSelection(QCPDataSelection());
    QVERIFY(!holder.markersShown());
    QVERIFY(!holder.startMarker()->line()->visible() && !holder.endMarker()->label()->visible());
    QVERIFY(debug.contains(QStringLiteral("selection change ended")));
}

void TraceGraphsHolderTest::cropKeepsTheSelectedPoints()
{
    HolderFixture f(rampProfile(50));
    TraceGraphsHolder& holder = *f.holder;
    holder.setUnit("mkm", false);
    holder.updateGraphs(false, false);
    holder.cropToSelection();
    QCOMPARE(columnOf(f.trace, 0, true).size(), 50);

    holder.profileCurve()->setSelection(QCPDataSelection(QCPDataRange(10, 20)));
    holder.cropToSelection();
    QCOMPARE(columnOf(f.trace, 0, true), fixtures::sampled(10, 19, 1, [](double) { return 0.0; })[0]);
    QCOMPARE(holder.keys().size(), 10);
    QCOMPARE(holder.profileCurve()->dataCount(), 10);
    QVERIFY(!holder.markersShown());
    QVERIFY(!holder.startMarker()->line()->visible());
}

void TraceGraphsHolderTest::cropInAFilteredViewKeepsTheSelectedStretch_data()
{
    QTest::addColumn<double>("angle");
    QTest::newRow("roughness view") << 0.0;
    QTest::newRow("roughness view of a thread flank at 60 degrees") << 60.0;
}

// The filter trims half a cut-off at each end of the display store, so its
// rows are not the raw rows of the same index.
void TraceGraphsHolderTest::cropInAFilteredViewKeepsTheSelectedStretch()
{
    QFETCH(double, angle);
    HolderFixture f(fixtures::sampled(0, 4000, 1, [](double x) { return std::sin(x / 7) + 0.001 * x; }));
    if (angle != 0)
        f.trace.addPostProcessor(new ThreadAngleCompensationProcessor(angle));
    f.trace.addPostProcessor(new FilterRoughnessProfileProcessor(800));
    f.trace.reprocess();
    TraceGraphsHolder& holder = *f.holder;
    holder.setUnit("mkm", false);
    holder.updateGraphs(false, false);
    QVERIFY(holder.keys().size() < 4001);

    holder.profileCurve()->setSelection(QCPDataSelection(QCPDataRange(100, 300)));
    const double firstX = holder.keys()[100];
    const double lastX = holder.keys()[299];
    holder.cropToSelection();

    const QVector<double> rawX = columnOf(f.trace, 0, true);
    QCOMPARE(rawX.size(), 200);
    const double factor = std::cos(angle * kPi / 180);
    KALVORA_COMPARE_NEAR(rawX.first() * factor, firstX, 1e-9);
    KALVORA_COMPARE_NEAR(rawX.last() * factor, lastX, 1e-9);
}

void TraceGraphsHolderTest::cropOfAContourTraceKeepsTheDisplayedStretch_data()
{
    QTest::addColumn<int>("needlePressing");
    QTest::addColumn<double>("needleBias");
    QTest::newRow("needle down") << int(MovementSettings::NEEDLE_DOWN) << 0.0;
    QTest::newRow("needle up, with a bias") << int(MovementSettings::NEEDLE_UP) << 0.25;
}

// A contour trace recorded with every x twice: its own processing spreads the
// pairs (raw row r is shown at x = r, plus the bias of a raised needle) and its
// low-pass trims the ends, so display rows are not raw rows of the same index.
// The raw rows kept are exactly those shown within the dragged stretch.
void TraceGraphsHolderTest::cropOfAContourTraceKeepsTheDisplayedStretch()
{
    QFETCH(int, needlePressing);
    QFETCH(double, needleBias);
    ProfileData rows(3);
    for (int r = 0; r < 3000; ++r) {
        rows[0].append(2 * (r / 2));
        rows[1].append(std::sin(r / 40.0));
        rows[2].append(0);
    }
    HolderOf<ContourTrace> f(rows);
    f.trace.needle_pressing = needlePressing;
    f.trace.needle_bias = needleBias;
    f.trace.tool_head_radius_down = 20;
    f.trace.tool_head_radius_up = 20;
    f.trace.reprocess();
    TraceGraphsHolder& holder = *f.holder;
    holder.setUnit("mkm", false);
    holder.updateGraphs(false, false);
    QVERIFY(holder.keys().size() < rows[0].size());

    const double shift = 1000 * needleBias;
    holder.profileCurve()->setSelection(QCPDataSelection(QCPDataRange(101, 300)));
    const int firstRow = int(holder.keys()[101] - shift);
    const int lastRow = int(holder.keys()[299] - shift);
    QCOMPARE(lastRow - firstRow, 198);
    holder.cropToSelection();

    QCOMPARE(columnOf(f.trace, 0, true), rows[0].mid(firstRow, lastRow - firstRow + 1));
    QCOMPARE(columnOf(f.trace, 1, true), rows[1].mid(firstRow, lastRow - firstRow + 1));
}

void TraceGraphsHolderTest::straighteningLeavesTheWavesAtTheRmsLevel()
{
    const auto waves = [](double x) { return 0.5 * std::cos(2 * kPi * x / 100); };
    const auto shape = [&](double x) { return 2e-5 * (x - 1300) * (x - 1300) + 0.01 * x + 3 + waves(x); };
    HolderFixture f(fixtures::sampled(0, 4000, 0.5, shape));
    TraceGraphsHolder& holder = *f.holder;
    holder.setUnit("mkm", false);

    holder.updateGraphs(true, true);
    const QVector<double>& keys = holder.keys();
    const QVector<double> display = columnOf(f.trace, 1, false);
    double squares = 0;
    for (double height : display)
        squares += height * height;
    const double rms = std::sqrt(squares / display.size());
    KALVORA_COMPARE_NEAR(holder.rmsLevel(), rms, 1e-12 * rms);
    QCOMPARE(holder.fitKeys(), keys);
    for (int i = 0; i < keys.size(); ++i)
        KALVORA_COMPARE_NEAR_AT(holder.values()[i], waves(keys[i]) + rms, 1e-3, QStringLiteral("point %1").arg(i));
    QVERIFY(holder.meanLinesShown());
    for (QCPItemStraightLine* line : holder.rmsLines()) {
        QVERIFY(line->visible());
        QCOMPARE(line->point1->coords(), QPointF(0, rms));
        QCOMPARE(line->point2->coords(), QPointF(0.01, rms));
    }

    holder.updateGraphs(true, false);
    QCOMPARE(holder.values(), display);
    QCOMPARE(holder.fitValues().size(), keys.size());

    holder.updateGraphs(false, true);
    QCOMPARE(holder.values(), display);
    QVERIFY(holder.fitValues().isEmpty());
    QVERIFY(!holder.meanLinesShown());
    QVERIFY(!holder.rmsLines()[0]->visible());
}

void TraceGraphsHolderTest::visibilityKeepsHiddenPartsHidden()
{
    HolderFixture f(rampProfile(40));
    TraceGraphsHolder& holder = *f.holder;
    holder.updateGraphs(true, false);

    holder.setVisible(false);
    QVERIFY(!holder.isVisible());
    QVERIFY(!holder.histogramGraph()->visible() && !holder.ratioGraph()->visible());
    QVERIFY(!holder.rmsLines()[1]->visible());
    holder.setVisible(true);
    QVERIFY(holder.isVisible() && holder.histogramGraph()->visible() && holder.ratioGraph()->visible());
    QVERIFY(holder.rmsLines()[2]->visible());
    QVERIFY(!holder.fitGraph()->visible());
    QVERIFY(!holder.levelLines()[0]->visible());
    QVERIFY(!holder.startMarker()->line()->visible() && !holder.endMarker()->label()->visible());

    holder.profileCurve()->setSelection(QCPDataSelection(QCPDataRange(3, 9)));
    holder.markLevel(10);
    holder.setVisible(false);
    QVERIFY(!holder.startMarker()->line()->visible() && !holder.levelLines()[1]->visible());
    holder.setVisible(true);
    QVERIFY(holder.startMarker()->line()->visible() && holder.endMarker()->label()->visible());
    QVERIFY(holder.levelLines()[1]->visible());
}

// The level is given in micrometres, as "Dp" takes it: the lines stand at it
// in the display unit, wherever the ratio curve lies, and follow a change of
// the unit; a hidden trace's lines wait hidden.
void TraceGraphsHolderTest::levelLinesStandAtTheLevelInTheDisplayUnit()
{
    HolderFixture f(rampProfile(10));
    TraceGraphsHolder& holder = *f.holder;
    holder.setUnit("mm", false);
    holder.updateGraphs(false, false);
    holder.ratioGraph()->setData({1, 2, 3}, {100, 50, 10});
    holder.markLevel(2500);
    QVERIFY(holder.levelMarked());
    QCOMPARE(holder.level(), 2500.0);
    for (QCPItemStraightLine* line : holder.levelLines()) {
        QVERIFY(line->visible());
        QCOMPARE(line->point1->coords(), QPointF(0, 2.5));
        QCOMPARE(line->point2->coords(), QPointF(0.01, 2.5));
    }

    holder.setUnit("nm", true);
    for (QCPItemStraightLine* line : holder.levelLines())
        QCOMPARE(line->point1->coords(), QPointF(0, 2.5e6));

    holder.setVisible(false);
    holder.markLevel(-4);
    for (QCPItemStraightLine* line : holder.levelLines()) {
        QVERIFY(!line->visible());
        QCOMPARE(line->point1->coords(), QPointF(0, -4000));
    }
    holder.setVisible(true);
    QVERIFY(holder.levelLines()[2]->visible());
}

void TraceGraphsHolderTest::heightDistributionIsStoredInMicrometres()
{
    HolderFixture f(fixtures::sampled(0, 1000, 0.5, [](double x) { return 5 * std::sin(x / 13); }));
    TraceGraphsHolder& holder = *f.holder;
    holder.setUnit("mm", false);
    holder.updateGraphs(false, false);
    f.mainPlot.xAxis->setRange(-1, 2);
    f.mainPlot.yAxis->setRange(-0.01, 0.01);
    holder.updateHeightDistribution();

    const double xRange[2] = {-1, 2};
    const double yRange[2] = {-0.01, 0.01};
    const ProfileData expected = Algos::heightDistributionInWindow({holder.keys(), holder.values()},
                                                                   holder.histogramDensity(), xRange, yRange);
    QCOMPARE(expected.size(), 2);
    QCOMPARE(holder.histogramGraph()->dataCount(), expected[0].size());
    QCOMPARE(holder.histogramGraph()->data()->at(0)->key, expected[0][0]);
    QCOMPARE(holder.histogramGraph()->data()->at(0)->value, expected[1][0]);
    QCOMPARE(holder.histogramGraph()->pen().style(), Qt::NoPen);
    QCOMPARE(holder.histogramGraph()->brush().color(), QColor(10, 140, 70, 160));
    QCOMPARE(f.trace.heightDistribution.value(1), expected[1]);
    QCOMPARE(f.trace.heightDistribution.value(0).size(), expected[0].size());
    for (int i = 0; i < expected[0].size(); ++i)
        QCOMPARE(f.trace.heightDistribution[0][i], expected[0][i] / 0.001);

    // A contour trace keeps nothing.
    f.trace.setType(CONTOUR);
    f.trace.heightDistribution.clear();
    holder.updateHeightDistribution();
    QVERIFY(f.trace.heightDistribution.isEmpty());
    QCOMPARE(holder.histogramGraph()->dataCount(), expected[0].size());
}

void TraceGraphsHolderTest::emptyHistogramWindowClearsTheBands()
{
    HolderFixture f(fixtures::sampled(0, 1000, 1, [](double x) { return std::sin(x); }));
    TraceGraphsHolder& holder = *f.holder;
    holder.setUnit("mkm", false);
    holder.updateGraphs(false, false);
    f.mainPlot.xAxis->setRange(0, 1000);
    f.mainPlot.yAxis->setRange(-2, 2);
    holder.updateHeightDistribution();
    QVERIFY(holder.histogramGraph()->dataCount() > 0);
    const ProfileData stored = f.trace.heightDistribution;

    f.mainPlot.xAxis->setRange(2000, 3000);
    holder.updateHeightDistribution();
    QCOMPARE(holder.histogramGraph()->dataCount(), 0);
    QCOMPARE(f.trace.heightDistribution, stored);
}

void TraceGraphsHolderTest::ratioCurveFollowsTheVisibleHeights()
{
    HolderFixture f(fixtures::sampled(0, 100, 1, [](double x) { return 10 + std::sin(x); }));
    TraceGraphsHolder& holder = *f.holder;
    holder.setUnit("mkm", false);
    holder.updateGraphs(false, false);
    f.mainPlot.yAxis->setRange(-4, 6);
    holder.updateHeightDistribution();

    const Algos::AreaRatioCurve expected = Algos::areaRatioCurve(holder.keys(), holder.values(), -4, 6);
    QCOMPARE(holder.ratioLevels(), expected.levels);
    QCOMPARE(holder.ratioPercents(), expected.percents);
    QCOMPARE(holder.ratioGraph()->dataCount(), 100);
    QCOMPARE(holder.ratioGraph()->data()->at(99)->key, -4 + 0.99 * 10);
    // The whole profile lies above the visible heights.
    for (int j = 0; j < 100; ++j)
        QCOMPARE(holder.ratioGraph()->data()->at(j)->value, 100.0);
}

void TraceGraphsHolderTest::highlightUsesTheSelectedColour()
{
    AppSettings::instance().preferenses.selected_graph_color = QStringLiteral("#00ff00");
    HolderFixture f(rampProfile(10));
    TraceGraphsHolder& holder = *f.holder;
    holder.highlight();
    for (QCPAbstractPlottable* plottable :
         {static_cast<QCPAbstractPlottable*>(holder.profileCurve()),
          static_cast<QCPAbstractPlottable*>(holder.histogramGraph()),
          static_cast<QCPAbstractPlottable*>(holder.ratioGraph())}) {
        QCOMPARE(plottable->pen().color(), QColor(0, 255, 0));
        QCOMPARE(plottable->pen().widthF(), 1.0);
        QCOMPARE(plottable->pen().style(), Qt::SolidLine);
    }
    holder.unhighlight();
    QCOMPARE(holder.histogramGraph()->pen(), kBlackPen);
    QCOMPARE(holder.profileCurve()->pen(), kBlackPen);
}

void TraceGraphsHolderTest::showPointsSwitchesTheCurveStyle()
{
    HolderFixture f(rampProfile(10));
    AdaptiveCurve* curve = f.holder->profileCurve();
    f.holder->showPoints(true);
    QCOMPARE(curve->lineStyle(), QCPCurve::lsNone);
    QCOMPARE(curve->scatterStyle().shape(), QCPScatterStyle::ssCircle);
    QCOMPARE(curve->scatterStyle().size(), 1.0);
    QCOMPARE(curve->scatterStyle().pen().color(), QColor(Qt::black));
    f.holder->showPoints(false);
    QCOMPARE(curve->lineStyle(), QCPCurve::lsLine);
    QCOMPARE(curve->scatterStyle().shape(), QCPScatterStyle::ssNone);
    QCOMPARE(curve->scatterStyle().size(), 6.0);
}

KALVORA_TEST_MAIN(TraceGraphsHolderTest)
#include "TraceGraphsHolderTest.moc"
