#include "PlotFixture.h"

#include "plot/AdaptiveCurve.h"
#include "plot/OnePointCurveHitTest.h"
#include "plot/PlotAxisTicker.h"
#include "plot/PlotCurve.h"

#include "DebugCapture.h"
#include "FuzzyCompare.h"
#include "TestMain.h"

#include <functional>
#include <limits>

class PlotWidgetTest : public QObject
{
    Q_OBJECT
private slots:
    void layersAndTickers();
    void registryFollowsEveryRemoval_data();
    void registryFollowsEveryRemoval();
    void registryRefusals();
    void curveOutOfBounds();
    void markerCreatedOnceAndDeletedOnce();
    void markerLooks();
    void onePointHitTestIsTheLibrarys_data();
    void onePointHitTestIsTheLibrarys();
    void snapPicksTruncatedNearest_data();
    void snapPicksTruncatedNearest();
    void snapIgnoresUnselectableAndKeepsHiddenSelectable();
    void snapKeepsValuesWithoutHit_data();
    void snapKeepsValuesWithoutHit();
    void snappedCurveThatVanishesIsNone();
    void realtimeDragSelectsRange();
    void dragLeavingAxisRectKeepsLastIndex();
    void releaseHandlersTakeTheReleaseIn();
    void startCurveThatVanishesIsNone();
    void keepSelections_data();
    void keepSelections();
    void modeSwitchesDuringDrag();
    void plainSelectDragStartsAtPress();
    void rectSelectionWithoutRangeSelection();
    void zoomModeStillZooms();
    void rectangleHiddenWhileMarkerExists();
};

namespace {

int countMessages(const DebugCapture& capture, const QString& text)
{
    int count = 0;
    for (const QString& message : capture.messages())
        count += message.contains(text) ? 1 : 0;
    return count;
}

QCPDataSelection rangeSelection(int begin, int end)
{
    return QCPDataSelection(QCPDataRange(begin, end));
}

void enableRangeSelection(PlotFixture& f, QCP::SelectionRectMode mode)
{
    f.plot.setInteractions(QCP::iSelectPlottables | QCP::iRangeSelection);
    f.plot.setSelectionRectMode(mode);
}

// Range selection in the given mode over one curve along y = 50, drawn.
AdaptiveCurve* rangeSelectionCurve(PlotFixture& f, QCP::SelectionRectMode mode, double step = 1)
{
    enableRangeSelection(f, mode);
    auto* curve = f.addHorizontalCurve<AdaptiveCurve>(50, step);
    f.plot.replot();
    return curve;
}

// Selections compared as text, so that a failure shows both.
QString text(const QCPDataSelection& selection)
{
    QString result;
    QDebug(&result) << selection;
    return result;
}

} // namespace

void PlotWidgetTest::layersAndTickers()
{
    PlotWidget plot;
    QStringList names;
    for (int i = 0; i < plot.layerCount(); ++i)
        names << plot.layer(i)->name();
    QCOMPARE(names, QStringList({"background", "grid", "main", "axes", "legend", "overlay", "overlay2"}));
    QCOMPARE(plot.layer("overlay")->mode(), QCPLayer::lmBuffered);
    QCOMPARE(plot.layer("overlay2")->mode(), QCPLayer::lmBuffered);
    QCOMPARE(plot.currentLayer()->name(), QString("main"));
    QVERIFY(plot.selectionRect());
    QCOMPARE(plot.selectionRect()->layer()->name(), QString("overlay"));
    for (QCPAxis* axis : {plot.xAxis, plot.yAxis, plot.xAxis2, plot.yAxis2})
        QVERIFY(PlotAxisTicker::of(axis));
}

using Removal = std::function<void(PlotWidget&, QCPAbstractPlottable*)>;
Q_DECLARE_METATYPE(Removal)

void PlotWidgetTest::registryFollowsEveryRemoval_data()
{
    QTest::addColumn<Removal>("remove");
    QTest::newRow("removePlottable by pointer")
        << Removal([](PlotWidget& plot, QCPAbstractPlottable* p) { QVERIFY(plot.removePlottable(p)); });
    QTest::newRow("removePlottable by index")
        << Removal([](PlotWidget& plot, QCPAbstractPlottable* p) {
               for (int i = 0; i < plot.plottableCount(); ++i) {
                   if (plot.plottable(i) == p)
                       QVERIFY(plot.removePlottable(i));
               }
           });
    QTest::newRow("through the library's base class")
        << Removal([](PlotWidget& plot, QCPAbstractPlottable* p) {
               QCustomPlot& base = plot;
               QVERIFY(base.removePlottable(p));
           });
}

// The second of three curves goes; the others keep their order. A graph
// among them does not enter the registry.
void PlotWidgetTest::registryFollowsEveryRemoval()
{
    QFETCH(Removal, remove);
    PlotWidget plot;
    auto* first = new PlotCurve(plot.xAxis, plot.yAxis);
    auto* second = new AdaptiveCurve(plot.xAxis, plot.yAxis);
    plot.addGraph();
    auto* third = new PlotCurve(plot.xAxis, plot.yAxis);
    QCOMPARE(plot.curveCount(), 3);
    QCOMPARE(plot.curve(1), second);
    remove(plot, second);
    QCOMPARE(plot.curveCount(), 2);
    QCOMPARE(plot.curve(0), first);
    QCOMPARE(plot.curve(1), third);
    QCOMPARE(plot.lastCurve(), third);
    plot.clearPlottables();
    QCOMPARE(plot.curveCount(), 0);
    QCOMPARE(plot.lastCurve(), nullptr);
}

void PlotWidgetTest::registryRefusals()
{
    PlotWidget plot;
    PlotWidget other;
    DebugCapture capture;
    QVERIFY(!plot.registerCurve(nullptr));
    QVERIFY(capture.contains("bool QCustomPlot::registerCurve(QCPCurve*) passed graph is zero"));

    auto* curve = new PlotCurve(plot.xAxis, plot.yAxis);
    QVERIFY(!plot.registerCurve(curve));
    QVERIFY(capture.contains("graph already registered with this QCustomPlot"));
    QCOMPARE(plot.curveCount(), 1);

    auto* foreign = new PlotCurve(other.xAxis, other.yAxis);
    QVERIFY(!plot.registerCurve(foreign));
    QCOMPARE(plot.curveCount(), 1);

    // A curve of the library's own class registers when asked to.
    auto* plain = new QCPCurve(plot.xAxis, plot.yAxis);
    QCOMPARE(plot.curveCount(), 1);
    QVERIFY(plot.registerCurve(plain));
    QCOMPARE(plot.lastCurve(), plain);
}

void PlotWidgetTest::curveOutOfBounds()
{
    PlotWidget plot;
    new PlotCurve(plot.xAxis, plot.yAxis);
    DebugCapture capture;
    QCOMPARE(plot.curve(-1), nullptr);
    QCOMPARE(plot.curve(1), nullptr);
    QCOMPARE(countMessages(capture, "QCPCurve* QCustomPlot::curve(int) const index out of bounds:"), 2);
    QVERIFY(capture.contains("index out of bounds: 1"));
}

void PlotWidgetTest::markerCreatedOnceAndDeletedOnce()
{
    PlotWidget plot;
    DebugCapture capture;
    QCOMPARE(plot.setSelectionMarkerVisible(true), nullptr);
    plot.setInteractions(QCP::iRangeSelection);
    plot.setInteractions(QCP::iRangeSelection | QCP::iSelectPlottables);
    plot.setInteraction(QCP::iRangeSelection, true);
    QCOMPARE(countMessages(capture, "created selection marker"), 1);
    QCOMPARE(plot.itemCount(), 1);
    QVERIFY(plot.interactions() & QCP::iSelectPlottables);

    QCPItemLine* marker = plot.setSelectionMarkerVisible(false);
    QVERIFY(marker);
    QVERIFY(!marker->visible());

    plot.setInteraction(QCP::iRangeSelection, false);
    plot.setInteractions(QCP::iSelectPlottables);
    QCOMPARE(countMessages(capture, "deleted selection marker"), 1);
    QCOMPARE(plot.itemCount(), 0);
    QVERIFY(!plot.hasSelectionMarker());
    QCOMPARE(plot.setSelectionMarkerVisible(true), nullptr);

    // Taken away by the library's item removal, the marker is simply gone.
    plot.setInteractions(QCP::iRangeSelection);
    plot.clearItems();
    QVERIFY(!plot.hasSelectionMarker());
    plot.setInteractions(QCP::iRangeSelection);
    QCOMPARE(countMessages(capture, "created selection marker"), 3);
}

void PlotWidgetTest::markerLooks()
{
    PlotWidget plot;
    plot.setInteractions(QCP::iRangeSelection);
    QCPItemLine* marker = plot.setSelectionMarkerVisible(true);
    QCOMPARE(marker->layer()->name(), QString("overlay2"));
    QVERIFY(!marker->selectable());
    QCOMPARE(marker->pen(), QPen(QBrush(Qt::gray), 1, Qt::DashDotLine, Qt::SquareCap, Qt::BevelJoin));
    QCOMPARE(marker->head().style(), QCPLineEnding::esLineArrow);
    QCOMPARE(marker->head().width(), 8.0);
    QCOMPARE(marker->head().length(), 10.0);
    QVERIFY(!marker->head().inverted());
    QCOMPARE(marker->tail().style(), QCPLineEnding::esNone);
}

void PlotWidgetTest::onePointHitTestIsTheLibrarys_data()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QPointF>("cursor"); // in plot coordinates; (-5, 50) lies left of the axis rect
    QTest::addColumn<bool>("keyAxisVertical");
    QTest::addColumn<bool>("drawsNothing"); // no line and no scatter
    QTest::addColumn<bool>("selectable");
    QTest::addColumn<bool>("beyondAxisRect");
    QTest::newRow("near") << QPointF(50, 50) << QPointF(51.3, 48.2) << false << false << true << false;
    QTest::newRow("far") << QPointF(10, 90) << QPointF(93, 4) << false << false << true << false;
    QTest::newRow("vertical key axis") << QPointF(20, 70) << QPointF(31, 64) << true << false << true << false;
    QTest::newRow("cursor outside the axis rect") << QPointF(2, 50) << QPointF(-5, 50) << false << false << true
                                                  << false;
    QTest::newRow("outside, selecting beyond the rect")
        << QPointF(2, 50) << QPointF(-5, 50) << false << false << true << true;
    QTest::newRow("point outside the view") << QPointF(400, -80) << QPointF(50, 50) << false << false << true
                                            << false;
    QTest::newRow("draws nothing") << QPointF(50, 50) << QPointF(51, 50) << false << true << true << false;
    QTest::newRow("not selectable") << QPointF(50, 50) << QPointF(51, 50) << false << false << false << false;
    QTest::newRow("not a number") << QPointF(nan, 50) << QPointF(51, 50) << false << false << true << false;
}

// The snap's shortcut for one-point curves answers as the library's hit test.
void PlotWidgetTest::onePointHitTestIsTheLibrarys()
{
    QFETCH(QPointF, point);
    QFETCH(QPointF, cursor);
    QFETCH(bool, keyAxisVertical);
    QFETCH(bool, drawsNothing);
    QFETCH(bool, selectable);
    QFETCH(bool, beyondAxisRect);
    PlotFixture f;
    f.plot.setInteraction(QCP::iSelectPlottablesBeyondAxisRect, beyondAxisRect);
    auto* curve = keyAxisVertical ? new PlotCurve(f.plot.yAxis, f.plot.xAxis) : new PlotCurve(f.plot.xAxis, f.plot.yAxis);
    curve->addData(point.x(), point.y());
    if (drawsNothing)
        curve->setLineStyle(QCPCurve::lsNone);
    curve->setSelectable(selectable ? QCP::stWhole : QCP::stNone);
    f.plot.replot();
    const QPointF pos = QPointF(f.plot.xAxis->coordToPixel(cursor.x()), f.plot.yAxis->coordToPixel(cursor.y()));
    const QCPCurve& library = *curve;
    QCOMPARE(onePointCurveHitTest(curve, pos), library.QCPCurve::selectTest(pos, true));

    // With a scatter symbol the library counts the point as drawn.
    curve->setScatterStyle(QCPScatterStyle::ssDisc);
    QCOMPARE(onePointCurveHitTest(curve, pos), library.QCPCurve::selectTest(pos, true));
}

void PlotWidgetTest::snapPicksTruncatedNearest_data()
{
    QTest::addColumn<double>("firstDistance");
    QTest::addColumn<double>("secondDistance");
    QTest::addColumn<int>("winner");
    QTest::newRow("2.7 then 2.5: the first stays") << 2.7 << 2.5 << 0;
    QTest::newRow("2.7 then 2.0: the first stays") << 2.7 << 2.0 << 0;
    QTest::newRow("2.7 then 1.9: the second wins") << 2.7 << 1.9 << 1;
    QTest::newRow("1.5 then 9.0: the first stays") << 1.5 << 9.0 << 0;
    QTest::newRow("40 then 12: the second wins, however far") << 40.0 << 12.0 << 1;
}

// Two one-point curves at given pixel distances from the cursor, the first
// to its right and the second below it.
void PlotWidgetTest::snapPicksTruncatedNearest()
{
    QFETCH(double, firstDistance);
    QFETCH(double, secondDistance);
    QFETCH(int, winner);
    PlotFixture f;
    f.plot.setInteractions(QCP::iSelectPlottables | QCP::iRangeSelection);
    const QPoint cursor = f.pixel(50, 50);
    const QPointF points[2] = {f.coords(cursor + QPointF(firstDistance, 0)),
                               f.coords(cursor + QPointF(0, secondDistance))};
    QCPCurve* curves[2];
    for (int i = 0; i < 2; ++i) {
        curves[i] = new AdaptiveCurve(f.plot.xAxis, f.plot.yAxis);
        curves[i]->addData(points[i].x(), points[i].y());
    }
    f.plot.replot();
    f.move(cursor);
    QCOMPARE(f.plot.selectionMarkerCurve(), curves[winner]);
    QCOMPARE(f.plot.selectionMarkerIndex(), qint64(0));
    QCPItemLine* marker = f.plot.setSelectionMarkerVisible(true);
    QCOMPARE(marker->end->coords(), points[winner]);
    QCOMPARE(marker->start->coords(), f.coords(cursor));
}

void PlotWidgetTest::snapIgnoresUnselectableAndKeepsHiddenSelectable()
{
    PlotFixture f;
    f.plot.setInteractions(QCP::iSelectPlottables | QCP::iRangeSelection);
    auto* unselectable = f.addHorizontalCurve<AdaptiveCurve>(50);
    unselectable->setSelectable(QCP::stNone);
    auto* hidden = f.addHorizontalCurve<AdaptiveCurve>(20);
    hidden->setVisible(false);
    f.plot.replot();
    f.move(f.pixel(30, 52));
    QCOMPARE(f.plot.selectionMarkerCurve(), hidden);
    QCOMPARE(f.plot.selectionMarkerIndex(), qint64(30));

    // The hidden curve also starts a range selection.
    f.plot.setSelectionRectMode(QCP::srmSelectRealtime);
    f.press(f.pixel(30, 20));
    f.move(f.pixel(35, 20));
    f.move(f.pixel(40, 20));
    f.release(f.pixel(40, 20));
    QCOMPARE(f.plot.selectionRect()->startCurve(), hidden);
    QCOMPARE(text(hidden->selection()), text(rangeSelection(30, 40)));
}

void PlotWidgetTest::snapKeepsValuesWithoutHit_data()
{
    QTest::addColumn<bool>("selectable");
    QTest::addColumn<QPoint>("offset");
    QTest::newRow("no selectable curve") << false << QPoint(0, 0);
    QTest::newRow("cursor outside the axis rect") << true << QPoint(-1, 0);
}

void PlotWidgetTest::snapKeepsValuesWithoutHit()
{
    QFETCH(bool, selectable);
    QFETCH(QPoint, offset);
    PlotFixture f;
    f.plot.setInteractions(QCP::iSelectPlottables | QCP::iRangeSelection);
    auto* curve = f.addHorizontalCurve<AdaptiveCurve>(50);
    f.plot.replot();
    f.move(f.pixel(10, 40));
    QCPItemLine* marker = f.plot.setSelectionMarkerVisible(true);
    const QPointF start = marker->start->coords();
    const QPointF end = marker->end->coords();
    QCOMPARE(f.plot.selectionMarkerIndex(), qint64(10));

    curve->setSelectable(selectable ? QCP::stWhole : QCP::stNone);
    const QRect area = f.plot.axisRect()->rect();
    const QPoint elsewhere = offset.isNull() ? f.pixel(70, 60) : QPoint(area.left() - 5, area.center().y());
    f.move(elsewhere);
    QCOMPARE(f.plot.selectionMarkerIndex(), qint64(10));
    QCOMPARE(f.plot.selectionMarkerCurve(), curve);
    QCOMPARE(marker->start->coords(), start);
    QCOMPARE(marker->end->coords(), end);
}

void PlotWidgetTest::snappedCurveThatVanishesIsNone()
{
    PlotFixture f;
    f.plot.setInteractions(QCP::iSelectPlottables | QCP::iRangeSelection);
    auto* curve = f.addHorizontalCurve<AdaptiveCurve>(50);
    f.plot.replot();
    f.move(f.pixel(10, 40));
    QCOMPARE(f.plot.selectionMarkerCurve(), curve);
    f.plot.removePlottable(curve);
    QCOMPARE(f.plot.selectionMarkerCurve(), nullptr);
    f.move(f.pixel(20, 40));
    QCOMPARE(f.plot.selectionMarkerCurve(), nullptr);
}

// A dense curve, several points per pixel: the range covers data indices,
// whether their pixels were drawn or not.
void PlotWidgetTest::realtimeDragSelectsRange()
{
    PlotFixture f;
    auto* curve = rangeSelectionCurve(f, QCP::srmSelectRealtime, 0.05);
    QSignalSpy changes(curve, SIGNAL(selectionChanged(QCPDataSelection)));
    auto nearestIndex = [&](const QPoint& pos) {
        QVariant details;
        curve->selectTest(pos, true, &details);
        return details.value<QCPDataSelection>().dataRange(0).begin();
    };
    const QPoint start = f.pixel(20, 50);
    const int startIndex = nearestIndex(start);
    f.move(start);
    f.press(start);
    for (double x : {40.0, 30.0, 10.0}) {
        const QPoint pos = f.pixel(x, 52);
        f.move(pos);
        const int current = nearestIndex(pos);
        QCOMPARE(text(curve->selection()), text(rangeSelection(qMin(startIndex, current), qMax(startIndex, current))));
    }
    QVERIFY(changes.count() >= 3);
    f.move(start);
    QVERIFY(curve->selection().isEmpty());
    const QPoint end = f.pixel(35, 48);
    f.release(end);
    QCOMPARE(text(curve->selection()), text(rangeSelection(startIndex, nearestIndex(end))));
    QVERIFY(!f.plot.selectionRect()->isActive());
}

// Outside the axis rect the cursor hits nothing; the range keeps the last
// index reached instead of jumping back to the curve's first point.
void PlotWidgetTest::dragLeavingAxisRectKeepsLastIndex()
{
    PlotFixture f;
    auto* curve = rangeSelectionCurve(f, QCP::srmSelectRealtime);
    f.press(f.pixel(60, 50));
    f.move(f.pixel(62, 50));
    f.move(f.pixel(70, 50));
    QCOMPARE(text(curve->selection()), text(rangeSelection(60, 70)));
    const QRect area = f.plot.axisRect()->rect();
    f.move(QPoint(area.right() + 10, area.center().y()));
    QCOMPARE(text(curve->selection()), text(rangeSelection(60, 70)));
    f.release(QPoint(area.right() + 12, area.center().y()));
    QCOMPARE(text(curve->selection()), text(rangeSelection(60, 70)));
}

// The library emits mouseRelease before it ends the drag: a handler that takes
// the release in sees the range the drag ends with, released away from the
// last move, and the end of the drag then changes nothing more. A click is
// left to the library.
void PlotWidgetTest::releaseHandlersTakeTheReleaseIn()
{
    PlotFixture f;
    auto* curve = rangeSelectionCurve(f, QCP::srmSelectRealtime);
    QSignalSpy changes(curve, SIGNAL(selectionChanged(QCPDataSelection)));
    QString seen;
    int changesSeen = 0;
    QObject::connect(&f.plot, &QCustomPlot::mouseRelease, &f.plot, [&](QMouseEvent* event) {
        f.plot.takeInRelease(event);
        seen = text(curve->selection());
        changesSeen = changes.count();
    });
    f.move(f.pixel(20, 50));
    f.press(f.pixel(20, 50));
    f.move(f.pixel(30, 50));
    f.release(f.pixel(40, 50));
    QCOMPARE(seen, text(rangeSelection(20, 40)));
    QCOMPARE(text(curve->selection()), seen);
    QCOMPARE(changes.count(), changesSeen);

    f.move(f.pixel(70, 50));
    f.press(f.pixel(70, 50));
    f.release(f.pixel(70, 50));
    QCOMPARE(seen, text(rangeSelection(20, 40)));
}

void PlotWidgetTest::startCurveThatVanishesIsNone()
{
    PlotFixture f;
    enableRangeSelection(f, QCP::srmSelectRealtime);
    auto* gone = f.addHorizontalCurve<AdaptiveCurve>(50);
    auto* other = f.addHorizontalCurve<AdaptiveCurve>(20);
    f.plot.replot();
    f.press(f.pixel(10, 50));
    f.move(f.pixel(20, 50));
    QCOMPARE(f.plot.selectionRect()->startCurve(), gone);
    f.plot.removePlottable(gone);
    QCOMPARE(f.plot.selectionRect()->startCurve(), nullptr);
    // The next move picks a start curve afresh, still at the press position.
    f.move(f.pixel(30, 21));
    QCOMPARE(f.plot.selectionRect()->startCurve(), other);
    f.release(f.pixel(40, 21));
    QCOMPARE(text(other->selection()), text(rangeSelection(10, 40)));
}

void PlotWidgetTest::keepSelections_data()
{
    QTest::addColumn<bool>("keep");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("otherKept");
    QTest::newRow("keep flag") << true << Qt::KeyboardModifiers() << true;
    QTest::newRow("keep flag with modifier") << true << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
    QTest::newRow("no flag") << false << Qt::KeyboardModifiers() << false;
    QTest::newRow("no flag, modifier held") << false << Qt::KeyboardModifiers(Qt::ControlModifier) << false;
}

void PlotWidgetTest::keepSelections()
{
    QFETCH(bool, keep);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, otherKept);
    PlotFixture f;
    QCP::Interactions flags = QCP::iSelectPlottables | QCP::iRangeSelection | QCP::iMultiSelect;
    if (keep)
        flags |= QCP::iKeepSelections;
    f.plot.setInteractions(flags);
    f.plot.setSelectionRectMode(QCP::srmSelectRealtime);
    auto* curve = f.addHorizontalCurve<AdaptiveCurve>(50);
    auto* other = f.addHorizontalCurve<AdaptiveCurve>(20);
    f.plot.replot();
    other->setSelection(rangeSelection(5, 15));
    f.press(f.pixel(60, 50), modifiers);
    f.move(f.pixel(70, 50));
    f.release(f.pixel(80, 50), modifiers);
    QCOMPARE(text(other->selection()), text(otherKept ? rangeSelection(5, 15) : QCPDataSelection()));
    QCOMPARE(text(curve->selection()), text(rangeSelection(60, 80)));
}

// Switched to plain select mode, the drag selects only on release, still from
// the press position; switched off, it is cancelled.
void PlotWidgetTest::modeSwitchesDuringDrag()
{
    PlotFixture f;
    auto* curve = rangeSelectionCurve(f, QCP::srmSelectRealtime);

    f.press(f.pixel(10, 50));
    f.move(f.pixel(20, 50));
    QCOMPARE(text(curve->selection()), text(rangeSelection(10, 20)));
    f.plot.setSelectionRectMode(QCP::srmSelect);
    f.move(f.pixel(30, 50));
    QCOMPARE(text(curve->selection()), text(rangeSelection(10, 20)));
    f.release(f.pixel(40, 50));
    QCOMPARE(text(curve->selection()), text(rangeSelection(10, 40)));

    f.plot.setSelectionRectMode(QCP::srmSelectRealtime);
    f.press(f.pixel(50, 50));
    f.move(f.pixel(60, 50));
    QCOMPARE(text(curve->selection()), text(rangeSelection(50, 60)));
    f.plot.setSelectionRectMode(QCP::srmNone);
    QVERIFY(!f.plot.selectionRect()->isActive());
    f.move(f.pixel(70, 50));
    f.release(f.pixel(70, 50));
    QCOMPARE(text(curve->selection()), text(rangeSelection(50, 60)));
}

// In plain select mode the first rectangle selection of a drag comes at the
// release; the range still starts at the press, not at the release.
void PlotWidgetTest::plainSelectDragStartsAtPress()
{
    PlotFixture f;
    auto* curve = rangeSelectionCurve(f, QCP::srmSelect);
    f.press(f.pixel(10, 50));
    f.move(f.pixel(20, 50));
    QVERIFY(curve->selection().isEmpty());
    f.release(f.pixel(40, 50));
    QCOMPARE(text(curve->selection()), text(rangeSelection(10, 40)));
}

// Without range selection the library's rule picks the points inside the
// rectangle, and only the keep flag protects other selections.
void PlotWidgetTest::rectSelectionWithoutRangeSelection()
{
    PlotFixture f;
    f.plot.setInteractions(QCP::iSelectPlottables);
    f.plot.setSelectionRectMode(QCP::srmSelect);
    auto* curve = f.addHorizontalCurve<AdaptiveCurve>(50);
    curve->setSelectable(QCP::stDataRange);
    auto* other = f.addHorizontalCurve<AdaptiveCurve>(20);
    f.plot.replot();
    other->setSelection(rangeSelection(5, 15));
    f.press(f.pixel(29.5, 60), Qt::ControlModifier);
    f.move(f.pixel(35, 40));
    f.release(f.pixel(40.5, 40), Qt::ControlModifier);
    QCOMPARE(text(curve->selection()), text(rangeSelection(30, 41)));
    QCOMPARE(text(other->selection()), text(QCPDataSelection()));
}

void PlotWidgetTest::zoomModeStillZooms()
{
    PlotFixture f;
    f.plot.setSelectionRectMode(QCP::srmZoom);
    f.press(f.pixel(20, 80));
    f.move(f.pixel(30, 70));
    f.release(f.pixel(40, 60));
    KALVORA_COMPARE_NEAR(f.plot.xAxis->range().lower, 20, 0.5);
    KALVORA_COMPARE_NEAR(f.plot.xAxis->range().upper, 40, 0.5);
}

void PlotWidgetTest::rectangleHiddenWhileMarkerExists()
{
    PlotFixture f;
    f.plot.setSelectionRectMode(QCP::srmSelect);
    f.plot.selectionRect()->setPen(QPen(Qt::red, 3));
    auto redPixels = [&] {
        const QImage image = f.plot.toPixmap().toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
        return count;
    };
    for (bool marker : {true, false}) {
        f.plot.setInteractions(marker ? QCP::iRangeSelection : QCP::Interactions());
        f.press(f.pixel(20, 80));
        f.move(f.pixel(60, 30));
        QVERIFY(f.plot.selectionRect()->isActive());
        if (marker)
            QCOMPARE(redPixels(), 0);
        else
            QVERIFY(redPixels() > 100);
        f.release(f.pixel(60, 30));
    }
}

KALVORA_TEST_MAIN(PlotWidgetTest)
#include "PlotWidgetTest.moc"
