#include <QtTest>

#include <QAction>
#include <QToolBar>
#include <QTreeWidget>

#include "LinkTestSupport.h"
#include "LogTexts.h"
#include "TestMain.h"
#include "TraceList.h"
#include "WorkspaceFixture.h"
#include "plot/TraceGraphsHolder.h"

using namespace workspace;

namespace {

const QStringList kModes{"actionPAN", "actionSelectionZoom", "actionMarkers"};

QStringList checkedModes(const ProfileAnalisisWidget& ws)
{
    QStringList checked;
    for (const QString& name : kModes)
        if (toolAction(ws, name)->isChecked())
            checked << name;
    return checked;
}

// A joined trace along a flat line at `height` millimetres, x from 0 to
// `points` - 1 millimetres.
AbstractTrace* addFlatTrace(ProfileAnalisisWidget& ws, int points, double height)
{
    QVector<double> x;
    QVector<double> y;
    for (int i = 0; i < points; ++i) {
        x << i * 1000.0;
        y << height * 1000 + (i % 3) * 100;
    }
    ws.addJoinedTrace({x, y});
    return ws.traces().last();
}

// Drags along the trace's curve from one of its points to another.
void dragAlong(ProfileAnalisisWidget& ws, const TraceGraphsHolder* graphs, int from, int to)
{
    PlotWidget* main = plotOf(ws, "plotMain");
    dragOnPlot(main, pixelOf(main, graphs->keys()[from], graphs->values()[from]),
               pixelOf(main, graphs->keys()[to], graphs->values()[to]));
}

} // namespace

// The tool bar's plot tools on the main plot: the three mouse modes, cutting
// to the selection, the points, the R-line and straightening, and the trace
// list's selection and check boxes.
class PlotToolsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::C)); }

    void init() { resetSettings(); }

    void mouseModes_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<int>("interactions");
        QTest::addColumn<int>("rectMode");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<bool>("cutEnabled");
        QTest::addColumn<QStringList>("logLines");
        const int panning = int(QCP::iRangeDrag | QCP::iRangeZoom);
        const int marking = int(QCP::iSelectPlottables | QCP::iKeepSelections | QCP::iRangeSelection);
        const int selecting = int(QCP::iSelectPlottables);
        QTest::newRow("pan") << QStringList{"actionPAN"} << panning << int(QCP::srmNone) << int(Qt::OpenHandCursor)
                             << QStringList{"actionPAN"} << false
                             << QStringList{"actionPAN in profilewidget enabled"};
        QTest::newRow("pan, then markers")
            << QStringList{"actionPAN", "actionMarkers"} << marking << int(QCP::srmSelectRealtime)
            << int(Qt::ArrowCursor) << QStringList{"actionMarkers"} << true
            << QStringList{"actionPAN in profilewidget enabled", "actionMarkers in profileAyaliswidget enabled",
                           "actionPAN in profilewidget disabled"};
        QTest::newRow("markers off") << QStringList{"actionMarkers", "actionMarkers"} << selecting
                                     << int(QCP::srmNone) << int(Qt::ArrowCursor) << QStringList() << false
                                     << QStringList{"actionMarkers in profileAyaliswidget enabled",
                                                    "actionMarkers in profileAyaliswidget disabled"};
        QTest::newRow("markers, then zoom")
            << QStringList{"actionMarkers", "actionSelectionZoom"} << selecting << int(QCP::srmZoom)
            << int(Qt::ArrowCursor) << QStringList{"actionSelectionZoom"} << false
            << QStringList{"actionMarkers in profileAyaliswidget enabled",
                           "actionSelectionZoom in profileAyaliswidget enabled",
                           "actionMarkers in profileAyaliswidget disabled"};
        QTest::newRow("zoom, then pan")
            << QStringList{"actionSelectionZoom", "actionPAN"} << panning << int(QCP::srmNone)
            << int(Qt::OpenHandCursor) << QStringList{"actionPAN"} << false
            << QStringList{"actionSelectionZoom in profileAyaliswidget enabled", "actionPAN in profilewidget enabled",
                           "actionSelectionZoom in profileAyaliswidget disabled"};
        QTest::newRow("pan off keeps dragging") << QStringList{"actionPAN", "actionPAN"} << panning
                                                << int(QCP::srmNone) << int(Qt::ArrowCursor) << QStringList() << false
                                                << QStringList{"actionPAN in profilewidget enabled",
                                                               "actionPAN in profilewidget disabled"};
    }

    void mouseModes()
    {
        QFETCH(QStringList, clicks);
        QFETCH(int, interactions);
        QFETCH(int, rectMode);
        QFETCH(int, cursor);
        QFETCH(QStringList, checked);
        QFETCH(bool, cutEnabled);
        QFETCH(QStringList, logLines);
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(showWorkspace(ws));
        addFlatTrace(ws, 50, 1);
        const int logged = logTexts().size();

        for (const QString& name : clicks)
            clickToolButton(ws, name);

        const PlotWidget* main = plotOf(ws, "plotMain");
        QCOMPARE(int(main->interactions()), interactions);
        QCOMPARE(int(main->selectionRectMode()), rectMode);
        QCOMPARE(int(main->cursor().shape()), cursor);
        QCOMPARE(checkedModes(ws), checked);
        QCOMPARE(toolAction(ws, "actionCut")->isEnabled(), cutEnabled);
        QStringList lines;
        for (const QString& line : logTexts().mid(logged))
            if (line.startsWith(QStringLiteral("INFO: ")))
                lines << line.mid(6);
        QCOMPARE(lines, logLines);
    }

    // A range dragged along a trace in the marker mode is what Cut keeps; a
    // trace hidden after its range was selected keeps all its points.
    void cutKeepsTheDraggedStretchOfVisibleTraces()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(showWorkspace(ws));
        AbstractTrace* shown = addFlatTrace(ws, 100, 10);
        AbstractTrace* hidden = addFlatTrace(ws, 100, 30);
        const TraceGraphsHolder* shownGraphs = ws.holder(shown->id);
        const TraceGraphsHolder* hiddenGraphs = ws.holder(hidden->id);
        const QVector<double> shownKeys = shownGraphs->keys();
        const ProfileData hiddenRaw = rawData(hidden);

        clickToolButton(ws, "actionMarkers");
        dragAlong(ws, shownGraphs, 20, 60);
        dragAlong(ws, hiddenGraphs, 10, 30);
        QVERIFY(!shownGraphs->profileCurve()->selection().isEmpty());
        QVERIFY(!hiddenGraphs->profileCurve()->selection().isEmpty());
        // The plot picks the points nearest to the mouse, give or take one.
        const QCPDataRange dragged = shownGraphs->profileCurve()->selection().dataRange(0);
        QVERIFY(std::abs(dragged.begin() - 20) <= 2 && std::abs(dragged.end() - 61) <= 2);
        rowOf(ws, hidden)->setCheckState(0, Qt::Unchecked);
        const int logged = logTexts().size();

        clickToolButton(ws, "actionCut");

        // A contour trace's own processing moves its ends, so the raw rows
        // kept can lose a point at either end of the dragged stretch.
        const QVector<double> kept = shownGraphs->keys();
        QVERIFY(kept.size() >= dragged.size() - 2 && kept.size() <= dragged.size());
        QVERIFY(kept.first() >= shownKeys[dragged.begin()]);
        QVERIFY(kept.last() <= shownKeys[dragged.end() - 1]);
        QCOMPARE(rawData(hidden), hiddenRaw);
        QVERIFY(shownGraphs->profileCurve()->selection().isEmpty());
        QVERIFY(logTexts().mid(logged).contains(QStringLiteral("INFO: actionCut in profileAyaliswidget")));
    }

    // R-FT follows R-LN: enabled with it while a trace is visible, and
    // unchecked when R-LN goes off; PTS shows the points of every trace.
    void lineFitAndPoints()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(showWorkspace(ws));
        AbstractTrace* trace = addFlatTrace(ws, 100, 10);
        const TraceGraphsHolder* graphs = ws.holder(trace->id);
        QAction* fit = toolAction(ws, "actionRFit");

        clickToolButton(ws, "actionRLine");
        QVERIFY(fit->isEnabled());
        QVERIFY(graphs->rLine());
        clickToolButton(ws, "actionRFit");
        QVERIFY(graphs->straighten());

        clickToolButton(ws, "actionRLine");
        QVERIFY(!fit->isChecked());
        QVERIFY(!fit->isEnabled());
        QVERIFY(!graphs->rLine());
        QVERIFY(!graphs->straighten());

        rowOf(ws, trace)->setCheckState(0, Qt::Unchecked);
        clickToolButton(ws, "actionRLine");
        QVERIFY(!fit->isEnabled());

        clickToolButton(ws, "actionPTS");
        QCOMPARE(graphs->profileCurve()->lineStyle(), QCPCurve::lsNone);
        clickToolButton(ws, "actionPTS");
        QCOMPARE(graphs->profileCurve()->lineStyle(), QCPCurve::lsLine);
    }

    // Selecting a row highlights its trace alone; clearing its box hides it.
    void theListDrivesTheGraphs()
    {
        changeSettings([](AppSettings& s) { s.preferenses.selected_graph_color = QStringLiteral("red"); });
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(showWorkspace(ws));
        AbstractTrace* first = addFlatTrace(ws, 50, 1);
        AbstractTrace* second = addFlatTrace(ws, 50, 2);
        auto* tree = ws.findChild<QTreeWidget*>(QStringLiteral("tracesListTreeWidget"));

        tree->setCurrentItem(rowOf(ws, second));
        QCOMPARE(ws.holder(second->id)->profileCurve()->pen().color(), QColor(Qt::red));
        tree->setCurrentItem(rowOf(ws, first));
        QCOMPARE(ws.holder(first->id)->profileCurve()->pen().color(), QColor(Qt::red));
        QCOMPARE(ws.holder(second->id)->profileCurve()->pen().color(), QColor(Qt::black));

        rowOf(ws, first)->setCheckState(0, Qt::Unchecked);
        QVERIFY(!ws.holder(first->id)->isVisible());
        QCOMPARE(ws.visibleTraces(), QList<AbstractTrace*>{second});
    }
};

KALVORA_TEST_MAIN(PlotToolsTest)
#include "PlotToolsTest.moc"
