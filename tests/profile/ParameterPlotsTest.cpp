#include <QtTest>

#include <QAction>
#include <QApplication>
#include <QThread>
#include <QToolBar>
#include <QTreeWidget>

#include <atomic>
#include <cmath>

#include "ExtraArgs.h"
#include "HeightDistribution.h"
#include "KeyReceiver.h"
#include "LinkTestSupport.h"
#include "MessageBoxAnswerer.h"
#include "TestMain.h"
#include "TraceList.h"
#include "WorkspaceFixture.h"
#include "plot/TraceGraphsHolder.h"

using namespace workspace;

namespace {

// A read that runs until it is let go.
class GatedProvider : public DataProvider
{
public:
    GatedProvider() : DataProvider(QStringLiteral("gate")) {}
    ~GatedProvider() override { stop(); }

    void open() { m_open = true; }

protected:
    void prepareTrace() override {}
    bool readData() override
    {
        while (!m_open && !isStopRequested())
            QThread::msleep(2);
        return true;
    }

private:
    std::atomic<bool> m_open{false};
};

struct BuildCounts
{
    int graphs;
    int histograms;
    int ratios;
    bool operator==(const BuildCounts& o) const
    {
        return graphs == o.graphs && histograms == o.histograms && ratios == o.ratios;
    }
};

BuildCounts buildCounts(const TraceGraphsHolder* graphs)
{
    return {graphs->graphBuildCount(), graphs->histogramBuildCount(), graphs->ratioBuildCount()};
}

QVector<double> keysOf(const QCPGraph* graph)
{
    QVector<double> keys;
    for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
        keys << it->key;
    return keys;
}

QVector<double> valuesOf(const QCPGraph* graph)
{
    QVector<double> values;
    for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
        values << it->value;
    return values;
}

// The ratio curve summed level by level, trapezoid by trapezoid.
QVector<double> ratioPercentsLevelByLevel(const QVector<double>& x, const QVector<double>& y, double low, double high)
{
    QVector<double> areas(100, 0.0);
    for (int j = 0; j < 100; ++j) {
        const double level = low + j * (high - low) / 100;
        for (int i = 0; i + 2 < x.size(); ++i)
            if (y[i] > level)
                areas[j] += std::abs((y[i] + y[i + 1]) * (x[i + 1] - x[i]) * 0.5);
    }
    const double largest = *std::max_element(areas.cbegin(), areas.cend());
    for (double& area : areas)
        area = 100 * area / largest;
    return areas;
}

void compareClose(const QVector<double>& actual, const QVector<double>& expected)
{
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < actual.size(); ++i)
        QVERIFY2(std::abs(actual[i] - expected[i]) <= 1e-9 * std::max(1.0, std::abs(expected[i])),
                 qPrintable(QStringLiteral("%1: %2 != %3").arg(i).arg(actual[i]).arg(expected[i])));
}

// The holder's side plots equal a computation from scratch over what the
// main plot shows now.
void verifySidePlotsAreCurrent(const TraceGraphsHolder* graphs, const PlotWidget* main)
{
    const QCPRange x = main->xAxis->range();
    const QCPRange y = main->yAxis->range();
    const double xRange[2] = {x.lower, x.upper};
    const double yRange[2] = {y.lower, y.upper};
    const ProfileData histogram = Algos::heightDistributionInWindow({graphs->keys(), graphs->values()},
                                                                    graphs->histogramDensity(), xRange, yRange);
    QCOMPARE(histogram.size(), 2);
    compareClose(keysOf(graphs->histogramGraph()), histogram[0]);
    compareClose(valuesOf(graphs->histogramGraph()), histogram[1]);
    compareClose(valuesOf(graphs->ratioGraph()),
                 ratioPercentsLevelByLevel(graphs->keys(), graphs->values(), y.lower, y.upper));
}

} // namespace

// The histogram and ratio plots beside the main plot, the level marked on
// the ratio plot and the hand-over of the visible traces to measurement.
class ParameterPlotsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::C)); }

    void init() { resetSettings(); }

    // Panning with the mouse rebuilds the histogram (and, moving the
    // heights, the ratio curve) as a computation from scratch would; a
    // replot with nothing changed rebuilds nothing; a trace whose points
    // changed is drawn again at the next replot.
    void sidePlotsFollowTheView()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(showWorkspace(ws));
        QVERIFY(writeProfileFile(workFile("a.txt"), wavyProfile(4000)));
        AbstractTrace* trace = openFile(ws, workFile("a.txt"), PROFILE);
        QVERIFY(trace);
        const TraceGraphsHolder* graphs = ws.holder(trace->id);
        PlotWidget* main = plotOf(ws, "plotMain");
        main->replot();
        verifySidePlotsAreCurrent(graphs, main);

        const BuildCounts settled = buildCounts(graphs);
        const QVector<double> histogramBefore = valuesOf(graphs->histogramGraph());
        main->replot();
        QVERIFY(buildCounts(graphs) == settled);

        clickToolButton(ws, "actionPAN");
        const QRect area = main->axisRect()->rect();
        dragOnPlot(main, area.center(), area.center() + QPoint(area.width() / 4, area.height() / 5));
        QVERIFY(buildCounts(graphs).histograms > settled.histograms);
        QVERIFY(buildCounts(graphs).ratios > settled.ratios);
        QCOMPARE(buildCounts(graphs).graphs, settled.graphs);
        QVERIFY(valuesOf(graphs->histogramGraph()) != histogramBefore);
        verifySidePlotsAreCurrent(graphs, main);

        const BuildCounts panned = buildCounts(graphs);
        main->xAxis->moveRange(main->xAxis->range().size() / 10);
        main->replot();
        QCOMPARE(buildCounts(graphs).histograms, panned.histograms + 1);
        QCOMPARE(buildCounts(graphs).ratios, panned.ratios);
        verifySidePlotsAreCurrent(graphs, main);

        const int rows = trace->lockedData().data->first().size();
        trace->crop(0, rows / 2);
        main->replot();
        QCOMPARE(graphs->keys().size(), trace->lockedData().data->first().size());
        verifySidePlotsAreCurrent(graphs, main);
    }

    void nothingIsRecomputedDuringARead()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(showWorkspace(ws));
        ws.addJoinedTrace({{0, 1000, 2000, 3000, 4000}, {1, 3, 2, 5, 4}});
        const TraceGraphsHolder* joined = ws.holder(ws.traces().last()->id);
        PlotWidget* main = plotOf(ws, "plotMain");
        main->replot();
        const BuildCounts before = buildCounts(joined);

        auto* gate = new GatedProvider;
        ws.setDataProvider(gate);
        QVERIFY(ws.startRead(CONTOUR));
        QVERIFY(QTest::qWaitFor([&] { return ws.isReadInProgress(); }));
        main->xAxis->moveRange(500);
        main->yAxis->moveRange(1);
        main->replot();
        QVERIFY(buildCounts(joined) == before);

        QSignalSpy finished(&ws, &ProfileAnalisisWidget::unlockButtons);
        gate->open();
        QVERIFY(QTest::qWaitFor([&] { return !finished.isEmpty(); }));
        verifySidePlotsAreCurrent(joined, main);
        const BuildCounts afterRead = buildCounts(joined);
        main->xAxis->moveRange(500);
        main->replot();
        QCOMPARE(buildCounts(joined).histograms, afterRead.histograms + 1);
    }

    // With the R-line on, a hidden trace shows neither its mean lines nor
    // its fit until it is shown again.
    void aHiddenTraceKeepsItsLinesHidden()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(showWorkspace(ws));
        QVERIFY(writeProfileFile(workFile("a.txt"), wavyProfile(3000), 800, {wavyProfile(3000, 0.5, 1)}));
        AbstractTrace* trace = openFile(ws, workFile("a.txt"), PROFILE);
        QVERIFY(trace);
        const TraceGraphsHolder* additional = ws.holder(ws.traces().last()->id);
        QVERIFY(!additional->isVisible());

        clickToolButton(ws, "actionRLine");
        plotOf(ws, "plotMain")->replot();
        QVERIFY(additional->rLine());
        for (QCPItemStraightLine* line : additional->rmsLines())
            QVERIFY(!line->visible());
        QVERIFY(!additional->fitGraph()->visible());

        tickRow(ws, ws.traces().last(), true);
        for (QCPItemStraightLine* line : additional->rmsLines())
            QVERIFY(line->visible());
    }

    // "Dp" reads the histogram, which the first replot after the read
    // computes: the table shows the value of that histogram, not of none.
    void dpRightAfterOpeningAFile()
    {
        useParameters({QStringLiteral("Dp")});
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(showWorkspace(ws));
        QVERIFY(writeProfileFile(workFile("a.txt"), wavyProfile(8000)));
        auto* trace = dynamic_cast<ProfileTrace*>(openFile(ws, workFile("a.txt"), PROFILE));
        QVERIFY(trace);
        QVERIFY(!trace->heightDistribution.isEmpty());

        const QString shown = trace->parameterResults.value(QStringLiteral("Dp"));
        ExtraArgs fresh;
        QCOMPARE(shown, fresh.resultText(trace, QStringLiteral("Dp")));
        const auto* table = ws.findChild<QTreeWidget*>(QStringLiteral("paramsListTreeWidget"));
        QCOMPARE(table->topLevelItem(0)->text(1), shown);
    }

    void levelMark_data()
    {
        QTest::addColumn<int>("axisUnit");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("onTheCurve");
        QTest::addColumn<double>("expectedLevel");
        QTest::addColumn<bool>("expectMarked");
        QTest::newRow("left on the curve, millimetres") << 0 << 0.0025 << int(Qt::LeftButton) << true << 2.5 << true;
        QTest::newRow("left beside the curve") << 0 << 0.0025 << int(Qt::LeftButton) << false << 2.5 << true;
        QTest::newRow("right button") << 0 << 0.0025 << int(Qt::RightButton) << true << 0.0 << false;
        QTest::newRow("left, micrometres") << 1 << 2.5 << int(Qt::LeftButton) << true << 2.5 << true;
        QTest::newRow("left beside the curve, nanometres") << 2 << 2500.0 << int(Qt::LeftButton) << false << 2.5
                                                           << true;
    }

    // The pressed height, in micrometres, becomes the level of every
    // profile trace, main and additional, and "Dp" follows it; on the curve
    // or beside it, the level lines of both stand at that height (the
    // additional trace's hidden until it is shown).
    void levelMark()
    {
        QFETCH(int, axisUnit);
        QFETCH(double, height);
        QFETCH(int, button);
        QFETCH(bool, onTheCurve);
        QFETCH(double, expectedLevel);
        QFETCH(bool, expectMarked);
        changeSettings([&](AppSettings& s) { s.view.axis_unit = axisUnit; });
        useParameters({QStringLiteral("Dp")});
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(showWorkspace(ws));
        QVERIFY(writeProfileFile(workFile("a.txt"), wavyProfile(8000), 800, {wavyProfile(8000, 0.5, 1)}));
        auto* trace = dynamic_cast<ProfileTrace*>(openFile(ws, workFile("a.txt"), PROFILE));
        QVERIFY(trace);
        ProfileTrace* additional = trace->additionalTraces.value(0);
        QVERIFY(additional);

        // Heights from -h to 3h: the ratio curve's level 50 is the height h.
        PlotWidget* main = plotOf(ws, "plotMain");
        PlotWidget* ratioPlot = plotOf(ws, "plotRMR");
        main->yAxis->setRange(-height, 3 * height);
        main->replot();
        const TraceGraphsHolder* graphs = ws.holder(trace->id);
        QVERIFY(qFuzzyCompare(graphs->ratioLevels().value(50), height));
        const double curveRatio = graphs->ratioPercents().value(50);
        QPoint pixel = pixelOf(ratioPlot, curveRatio, height);
        if (!onTheCurve) {
            pixel = pixelOf(ratioPlot, curveRatio > 50 ? curveRatio - 45 : curveRatio + 45, height);
            QVERIFY(!ratioPlot->plottableAt(pixel, true));
        }

        clickPlot(ratioPlot, Qt::MouseButton(button), pixel);

        const double pressedLevel = expectedLevel == 0 ? 0 : ratioPlot->yAxis->pixelToCoord(pixel.y()) * 2.5 / height;
        QVERIFY2(std::abs(pressedLevel - expectedLevel) < 0.05, qPrintable(QString::number(pressedLevel)));
        QCOMPARE(trace->level, pressedLevel);
        QCOMPARE(additional->level, pressedLevel);
        const TraceGraphsHolder* additionalGraphs = ws.holder(additional->id);
        for (const TraceGraphsHolder* holder : {graphs, additionalGraphs}) {
            QCOMPARE(holder->levelMarked(), expectMarked);
            for (const QCPItemStraightLine* line : holder->levelLines()) {
                QCOMPARE(line->visible(), expectMarked && holder->isVisible());
                if (!expectMarked)
                    continue;
                const double lineHeight = line->point1->coords().y();
                const double pressedHeight = ratioPlot->yAxis->pixelToCoord(pixel.y());
                QVERIFY2(std::abs(lineHeight - pressedHeight) <= 1e-12 * std::abs(pressedHeight),
                         qPrintable(QString::number(lineHeight, 'g', 17)));
                const double levelOfTheLine = lineHeight / holder->unitFactor();
                QVERIFY(std::abs(levelOfTheLine - trace->level) <= 1e-12 * trace->level);
            }
        }

        const QString shown = trace->parameterResults.value(QStringLiteral("Dp"));
        ExtraArgs fresh;
        QCOMPARE(shown, fresh.resultText(trace, QStringLiteral("Dp")));
        const auto* table = ws.findChild<QTreeWidget*>(QStringLiteral("paramsListTreeWidget"));
        QCOMPARE(table->topLevelItem(0)->text(1), shown);
    }

    void handOver_data()
    {
        QTest::addColumn<QString>("scene");
        QTest::addColumn<QString>("expectedText");
        QTest::addColumn<int>("expectedTraces");
        QTest::newRow("no trace") << "none" << "Нет трассы для измерения." << 0;
        QTest::newRow("all hidden")
            << "hidden" << "Нет видимых трасс, сделайте хотя бы одну трассу видимой для дальнейших измерений" << 0;
        QTest::newRow("two profile traces") << "two" << QString() << 2;
        QTest::newRow("a profile trace and its additional trace")
            << "additional" << "Нельзя проводить измерения разных типов трасс" << 0;
    }

    // The jog keys are blocked while a box of the checks is open and free
    // again on every way out; the traces handed over are the objects shown.
    void handOver()
    {
        QFETCH(QString, scene);
        QFETCH(QString, expectedText);
        QFETCH(int, expectedTraces);
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(showWorkspace(ws));
        QVERIFY(writeProfileFile(workFile("a.txt"), wavyProfile(3000), 800, {wavyProfile(3000, 0.5, 1)}));
        QVERIFY(writeProfileFile(workFile("b.txt"), wavyProfile(3000, 0.5, 2)));
        if (scene != QLatin1String("none")) {
            AbstractTrace* a = openFile(ws, workFile("a.txt"), PROFILE);
            QVERIFY(a);
            if (scene == QLatin1String("hidden"))
                tickRow(ws, a, false);
            if (scene == QLatin1String("two")) {
                QVERIFY(openFile(ws, workFile("b.txt"), PROFILE));
                tickRow(ws, a, true);
            }
            if (scene == QLatin1String("additional"))
                tickRow(ws, ws.traces().last(), true);
        }
        const QList<AbstractTrace*> visible = ws.visibleTraces();

        MessageBoxAnswerer answerer;
        bool blockedWhileAsking = true;
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&] {
            if (QApplication::activeModalWidget())
                blockedWhileAsking = blockedWhileAsking && ws.keyReceiver()->signalsBlocked();
        });
        probe.start(1);
        QList<QVector<AbstractTrace*>> handedOver;
        bool blockedAtHandOver = false;
        connect(&ws, &ProfileAnalisisWidget::readyForMeasurment, [&](QVector<AbstractTrace*> traces) {
            handedOver << traces;
            blockedAtHandOver = ws.keyReceiver()->signalsBlocked();
        });

        clickToolButton(ws, "actionToMeasurement");

        QCOMPARE(answerer.texts(), expectedText.isEmpty() ? QStringList() : QStringList{expectedText});
        QCOMPARE(answerer.titles(), expectedText.isEmpty() ? QStringList() : QStringList{"Ошибка"});
        QVERIFY(blockedWhileAsking);
        QVERIFY(!ws.keyReceiver()->signalsBlocked());
        if (expectedTraces == 0) {
            QVERIFY(handedOver.isEmpty());
            return;
        }
        QCOMPARE(handedOver.size(), 1);
        QCOMPARE(handedOver.first().size(), expectedTraces);
        QCOMPARE(handedOver.first().toList(), visible);
        QVERIFY(!blockedAtHandOver);
    }
};

KALVORA_TEST_MAIN(ParameterPlotsTest)
#include "ParameterPlotsTest.moc"
