#include "ManagerScene.h"
#include "ScriptedMeasurement.h"

#include "contour/IntersectionPairing.h"
#include "measurements/MeasurementIntersections.h"
#include "measurements/ReperPoint.h"
#include "measurements/ReperPointController.h"

#include "SignalTexts.h"
#include "TestMain.h"

#include <QSignalSpy>

#include <cmath>
#include <functional>
#include <memory>

using MeasurementMath::Circle;

namespace {

// A manager whose factory makes stand-ins for the kinds. The test says what a
// press creates; every measurement made is handed to `made` (to be watched).
class ScriptedManager : public MeasurementsManager
{
public:
    ScriptedManager(PlotWidget* plot, QWidget* window)
        : MeasurementsManager(plot, window)
        , m_plot(plot)
    {
    }

    std::function<Measurement*(int kind, PlotWidget* plot)> factory;
    std::function<void(Measurement*)> made = [](Measurement*) {};
    QList<QWidget*> factoryWindows;

protected:
    Measurement* createMeasurement(QWidget* window) override
    {
        factoryWindows.append(window);
        Measurement* m = factory ? factory(measurementType(), m_plot) : nullptr;
        if (m)
            made(m);
        return m;
    }

    Measurement* createEquidistantLine(E_MEASUREMENTS kind, const QVector<double>& coefficients) override
    {
        auto* line = new ScriptedLine(kind, m_plot, coefficients, ScriptedLine::Built);
        made(line);
        return line;
    }

private:
    PlotWidget* m_plot;
};

class Scene : public ManagerScene<ScriptedManager>
{
public:
    Scene()
    {
        manager.made = [this](Measurement* m) { watch(m); };
    }

    // Each press creates a stand-in of the chosen kind that finishes at its
    // n-th release.
    void createStandIns(int releasesToFinish, bool announces = false)
    {
        manager.factory = [releasesToFinish, announces](int kind, PlotWidget* plot) {
            return new ScriptedMeasurement(kind, plot, releasesToFinish, announces);
        };
    }

    // The presses create these, in turn.
    void createInTurn(const QList<std::function<Measurement*(PlotWidget*)>>& makers)
    {
        auto queue = std::make_shared<QList<std::function<Measurement*(PlotWidget*)>>>(makers);
        manager.factory = [queue](int, PlotWidget* plot) {
            return queue->isEmpty() ? nullptr : queue->takeFirst()(plot);
        };
    }

    void choose(int kind, bool keep = true, bool pickable = false, const QString& parameter = QString())
    {
        manager.setMeasurementType(kind, keep, pickable, parameter);
    }

    // Every measurement made is either deleted once or still the manager's.
    bool nothingLeaked() const
    {
        for (const QObject* m : watched()) {
            const int deleted = deletions(m);
            if (deleted > 1)
                return false;
            if (deleted == 0 && !manager.measurements().contains(static_cast<Measurement*>(const_cast<QObject*>(m)))
                && manager.currentMeasurement() != m)
                return false;
        }
        return true;
    }

    void pressEscape()
    {
        host.activateWindow();
        if (!QTest::qWaitForWindowActive(&host))
            qWarning("host window not active");
        QTest::keyClick(&host, Qt::Key_Escape);
    }
};

bool markerVisible(PlotWidget& plot)
{
    for (int i = 0; i < plot.itemCount(); ++i) {
        auto* line = qobject_cast<QCPItemLine*>(plot.item(i));
        if (line && line->layer() && line->layer()->name() == QLatin1String("overlay2"))
            return line->visible();
    }
    return false;
}

// The measurement a signal carried, read without touching it (it may be gone).
Measurement* carried(const QList<QVariant>& arguments)
{
    return *static_cast<Measurement* const*>(arguments.at(0).constData());
}

QList<QPointF> positions(const Measurement* m)
{
    QList<QPointF> points;
    for (const ReperPoint* point : m->reperPoints())
        points.append(point->position());
    return points;
}

QCP::SelectionType pickability(const Measurement* m)
{
    return !m->reperPoints().isEmpty() && m->reperPoints().first()->isSelectable() ? QCP::stWhole : QCP::stNone;
}

using Makers = QList<std::function<Measurement*(PlotWidget*)>>;
using Maker = std::function<Measurement*(PlotWidget*)>;

Maker circle(double x, double y, double r)
{
    return [=](PlotWidget* plot) { return new ScriptedCircle(plot, Circle{QPointF(x, y), r}); };
}

Maker line(E_MEASUREMENTS kind, double c0, double c1)
{
    return [=](PlotWidget* plot) { return new ScriptedLine(kind, plot, {c0, c1}); };
}

Maker construction(E_MEASUREMENTS kind)
{
    return [=](PlotWidget* plot) { return new ScriptedMeasurement(kind, plot, 1, true); };
}

Maker valueKind(E_MEASUREMENTS kind)
{
    return [=](PlotWidget* plot) { return new ScriptedMeasurement(kind, plot, 1); };
}

} // namespace

Q_DECLARE_METATYPE(Qt::MouseButton)
Q_DECLARE_METATYPE(Maker)
Q_DECLARE_METATYPE(IntersectionRoutine)

class MeasurementsManagerTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<Measurement*>(); }
    void nothingCreated_data();
    void nothingCreated();
    void pressWhilePlacingCreatesNothing();
    void changeOfKind_data();
    void changeOfKind();
    void unlistedLivesUntilNextPress();
    void escape_data();
    void escape();
    void escapeClearsSelectionsKeepingModes();
    void pairingByNames_data();
    void pairingByNames();
    void intersections_data();
    void intersections();
    void equidistant_data();
    void equidistant();
    void equidistantOfUnknownOrWrongKind();
    void drawingComparison();
    void removal();
    void plotSetUpByKind_data();
    void plotSetUpByKind();
    void forwardedSignals();
    void promptOfPlacedStands_data();
    void promptOfPlacedStands();
    void promptOfAbandonedWithdrawn_data();
    void promptOfAbandonedWithdrawn();
    void destructorDeletesEachOnce_data();
    void destructorDeletesEachOnce();
};

void MeasurementsManagerTest::nothingCreated_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("no kind") << int(NO_MEASUREMENT) << Qt::LeftButton;
    QTest::newRow("code 17") << 17 << Qt::LeftButton;
    QTest::newRow("code above the kinds") << 40 << Qt::LeftButton;
    QTest::newRow("right press") << int(VERTICAL_DISTANCE) << Qt::RightButton;
    QTest::newRow("middle press") << int(VERTICAL_DISTANCE) << Qt::MiddleButton;
}

void MeasurementsManagerTest::nothingCreated()
{
    QFETCH(int, kind);
    QFETCH(Qt::MouseButton, button);

    Scene s;
    s.createStandIns(1);
    s.choose(kind);
    QSignalSpy changes(&s.manager, &MeasurementsManager::measurementChanged);
    s.f.click(s.f.pixel(20, 50), button);
    QVERIFY(s.manager.factoryWindows.isEmpty());
    QVERIFY(!s.manager.currentMeasurement());
    QVERIFY(s.manager.measurements().isEmpty());
    QCOMPARE(changes.count(), 0);
}

void MeasurementsManagerTest::pressWhilePlacingCreatesNothing()
{
    Scene s;
    s.createStandIns(2);
    s.choose(VERTICAL_DISTANCE, true, true);
    QSignalSpy changes(&s.manager, &MeasurementsManager::measurementChanged);

    s.clickAt(20, 50);
    QCOMPARE(s.manager.factoryWindows, QList<QWidget*>({&s.host}));
    Measurement* first = s.manager.currentMeasurement();
    QVERIFY(first && !first->isFinished());
    QCOMPARE(changes.count(), 1);
    QCOMPARE(carried(changes.at(0)), first);

    // The second click completes the first measurement instead of starting one.
    s.clickAt(40, 50);
    QCOMPARE(s.manager.factoryWindows.size(), 1);
    QVERIFY(first->isFinished());
    QCOMPARE(s.manager.currentMeasurement(), first);

    s.clickAt(60, 50);
    QCOMPARE(s.manager.factoryWindows.size(), 2);
    QCOMPARE(s.manager.measurements().size(), 2);
    QCOMPARE(s.manager.measurements().first(), first);
    QVERIFY(s.manager.currentMeasurement() != first);
}

void MeasurementsManagerTest::changeOfKind_data()
{
    QTest::addColumn<bool>("keep");
    QTest::addColumn<bool>("workspace");
    QTest::addColumn<int>("nextKind");
    QTest::addColumn<bool>("finished");
    QTest::addColumn<bool>("abandoned");

    QTest::newRow("half-placed, another kind") << true << true << int(HORIZONTAL_DISTANCE) << false << true;
    QTest::newRow("half-placed, no kind") << true << true << int(NO_MEASUREMENT) << false << true;
    QTest::newRow("half-placed, no one removes the row") << true << false << int(HORIZONTAL_DISTANCE) << false
                                                         << true;
    QTest::newRow("unlisted levelling, another kind") << false << true << int(HORIZONTAL_DISTANCE) << false << true;
    QTest::newRow("half-placed, same kind") << true << true << int(VERTICAL_DISTANCE) << false << false;
    QTest::newRow("finished, another kind") << true << true << int(HORIZONTAL_DISTANCE) << true << false;
}

// Another kind abandons an unfinished measurement: its row goes, and it is
// deleted once, listed or not.
void MeasurementsManagerTest::changeOfKind()
{
    QFETCH(bool, keep);
    QFETCH(bool, workspace);
    QFETCH(int, nextKind);
    QFETCH(bool, finished);
    QFETCH(bool, abandoned);

    Scene s;
    if (workspace)
        s.removeAbandonedAsWorkspace();
    s.createStandIns(finished ? 1 : 2);
    s.choose(VERTICAL_DISTANCE, keep, true);
    s.clickAt(20, 50);
    auto* placed = static_cast<ScriptedMeasurement*>(s.manager.currentMeasurement());
    QVERIFY(placed);
    QCOMPARE(placed->isFinished(), finished);
    const QPointer<Measurement> guard(placed);
    QSignalSpy abandonments(&s.manager, &MeasurementsManager::deleteMeasurement);

    s.choose(nextKind, true, true);

    QCOMPARE(abandonments.count(), abandoned ? 1 : 0);
    if (abandoned) {
        QCOMPARE(carried(abandonments.at(0)), static_cast<Measurement*>(placed));
        QVERIFY(!guard);
        QCOMPARE(s.deletions(placed), 1);
        QVERIFY(!s.manager.currentMeasurement());
        QVERIFY(s.manager.measurements().isEmpty());
        // A release that would have completed it reaches nothing.
        s.clickAt(40, 50);
        return;
    }
    QVERIFY(guard);
    QCOMPARE(s.manager.currentMeasurement(), static_cast<Measurement*>(placed));
    QCOMPARE(placed->selectionMarkerUpdates, 1);
    QCOMPARE(s.manager.measurements().size(), 1);
}

void MeasurementsManagerTest::unlistedLivesUntilNextPress()
{
    Scene s;
    s.createStandIns(1);
    s.choose(LAY_FLAT, false);
    QSignalSpy changes(&s.manager, &MeasurementsManager::measurementChanged);
    s.clickAt(20, 50);
    Measurement* levelling = s.manager.currentMeasurement();
    QVERIFY(levelling && levelling->isFinished());
    QVERIFY(s.manager.measurements().isEmpty());
    QCOMPARE(s.deletions(levelling), 0);

    const int levellingId = levelling->id();
    s.clickAt(40, 50);
    QCOMPARE(s.deletions(levelling), 1);
    QVERIFY(s.manager.currentMeasurement());
    QVERIFY(s.manager.currentMeasurement()->id() != levellingId);
    QVERIFY(s.manager.measurements().isEmpty());
    QCOMPARE(changes.count(), 0);
}

void MeasurementsManagerTest::escape_data()
{
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("cancels");
    QTest::newRow("nothing placed") << 0 << false;
    QTest::newRow("half-placed") << 1 << true;
    QTest::newRow("finished") << 2 << false;
}

// Escape cancels what is being placed; otherwise it is the hosting dialog's.
void MeasurementsManagerTest::escape()
{
    QFETCH(int, clicks);
    QFETCH(bool, cancels);

    Scene s;
    s.removeAbandonedAsWorkspace();
    s.createStandIns(2);
    s.choose(VERTICAL_DISTANCE, true, true);
    for (int i = 0; i < clicks; ++i)
        s.clickAt(20 + 20 * i, 50);
    const QPointer<Measurement> placed = s.manager.currentMeasurement();
    QSignalSpy abandonments(&s.manager, &MeasurementsManager::deleteMeasurement);
    QSignalSpy rejections(&s.host, &QDialog::rejected);

    s.pressEscape();

    QCOMPARE(abandonments.count(), cancels ? 1 : 0);
    QCOMPARE(rejections.count(), cancels ? 0 : 1);
    QCOMPARE(s.host.isVisible(), cancels);
    QCOMPARE(s.manager.measurementType(), int(VERTICAL_DISTANCE));
    if (clicks > 0)
        QCOMPARE(bool(placed), !cancels);
    if (!cancels)
        return;
    QVERIFY(!s.manager.currentMeasurement());
    QVERIFY(s.manager.measurements().isEmpty());
    // The kind stays chosen: the next press starts a new measurement of it.
    s.clickAt(70, 50);
    QVERIFY(s.manager.currentMeasurement());
    QCOMPARE(s.manager.currentMeasurement()->type(), int(VERTICAL_DISTANCE));

    // Once it is finished, Escape is the dialog's again.
    s.clickAt(80, 50);
    s.pressEscape();
    QCOMPARE(rejections.count(), 1);
}

void MeasurementsManagerTest::escapeClearsSelectionsKeepingModes()
{
    Scene s;
    s.removeAbandonedAsWorkspace();
    s.createStandIns(2);
    s.choose(REGULAR_ANGLE);
    s.f.plot.setInteractions(QCP::iRangeSelection | QCP::iSelectPlottables | QCP::iRangeZoom);
    s.f.plot.setSelectionRectMode(QCP::srmSelectRealtime);
    s.curve->setSelectable(QCP::stDataRange);
    s.f.drag(s.f.pixel(10, 50), s.f.pixel(30, 50));
    QVERIFY(s.manager.currentMeasurement());
    QVERIFY(s.curve->selected());

    s.pressEscape();
    QVERIFY(!s.manager.currentMeasurement());
    QVERIFY(!s.curve->selected());
    QCOMPARE(s.f.plot.interactions(), QCP::iRangeSelection | QCP::iSelectPlottables | QCP::iRangeZoom);
    QCOMPARE(s.f.plot.selectionRectMode(), QCP::srmSelectRealtime);
    QVERIFY(s.host.isVisible());
}

void MeasurementsManagerTest::pairingByNames_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<IntersectionRoutine>("routine");

    const auto row = [](E_MEASUREMENTS a, E_MEASUREMENTS b, IntersectionRoutine routine) {
        QTest::addRow("%d with %d", int(a), int(b)) << int(a) << int(b) << routine;
        QTest::addRow("%d with %d", int(b), int(a)) << int(b) << int(a) << routine;
    };
    row(CIRCLE, CIRCLE_SPECIFIED, intersectCircleCircle);
    row(CIRCLE, HORIZONTAL_LINE, intersectCircleLine);
    row(CIRCLE_SPECIFIED, TWO_POINT_LINE, intersectCircleLine);
    row(CIRCLE, THREAD_MEAN_DIAMETER, intersectCircleLine);
    row(CIRCLE, VERTICAL_LINE, intersectLineCircle);
    row(VERTICAL_LINE, HORIZONTAL_LINE, intersectLineLine);
    row(VERTICAL_LINE, TWO_POINT_LINE, intersectLineLine);
    row(VERTICAL_LINE, THREAD_MEAN_DIAMETER, intersectLineLine);
    row(HORIZONTAL_LINE, TWO_POINT_LINE, intersectPointLines);
    row(THREAD_MEAN_DIAMETER, TWO_POINT_LINE, intersectPointLines);
    row(THREAD_MEAN_DIAMETER, HORIZONTAL_LINE, intersectPointLines);
    QTest::newRow("two lines through two points") << int(TWO_POINT_LINE) << int(TWO_POINT_LINE)
                                                  << IntersectionRoutine(intersectPointLines);
    const IntersectionRoutine none = nullptr;
    for (E_MEASUREMENTS kind : {HORIZONTAL_LINE, VERTICAL_LINE, THREAD_MEAN_DIAMETER})
        QTest::addRow("two of %d", int(kind)) << int(kind) << int(kind) << none;
    for (E_MEASUREMENTS other : {CIRCLE, HORIZONTAL_LINE, VERTICAL_LINE, TRACE_POINT}) {
        for (E_MEASUREMENTS kind : {TRACE_POINT, MIDDLE_POINT, TEXT_PLACEMENT, MAX_POINT, VERTICAL_DISTANCE})
            QTest::addRow("%d with %d", int(kind), int(other)) << int(kind) << int(other) << none;
    }
}

void MeasurementsManagerTest::pairingByNames()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(IntersectionRoutine, routine);
    QVERIFY(intersectionRoutine(measurementKind(first)->name, measurementKind(second)->name) == routine);
}

void MeasurementsManagerTest::intersections_data()
{
    QTest::addColumn<Maker>("first");
    QTest::addColumn<int>("firstKind");
    QTest::addColumn<Maker>("second");
    QTest::addColumn<int>("secondKind");
    QTest::addColumn<QList<QPointF>>("points");
    QTest::addColumn<bool>("pickable");

    const double root3 = 1.7320508075688772;
    QTest::newRow("circle after a crossing circle")
        << circle(0, 0, 2) << int(CIRCLE) << circle(2, 0, 2) << int(CIRCLE) << QList<QPointF>{{1, -root3}, {1, root3}}
        << false;
    QTest::newRow("circle after a touching circle")
        << circle(0, 0, 1) << int(CIRCLE) << circle(2, 0, 1) << int(CIRCLE) << QList<QPointF>{{1, 0}} << false;
    QTest::newRow("circle apart from a circle")
        << circle(0, 0, 1) << int(CIRCLE) << circle(5, 0, 1) << int(CIRCLE_SPECIFIED) << QList<QPointF>{} << false;
    QTest::newRow("horizontal line after a circle")
        << circle(0, 0, 1) << int(CIRCLE) << line(HORIZONTAL_LINE, 0, 1) << int(HORIZONTAL_LINE)
        << QList<QPointF>{{0, 1}} << true;
    QTest::newRow("circle after a vertical line")
        << line(VERTICAL_LINE, 0, 0.5) << int(VERTICAL_LINE) << circle(0, 0, 1) << int(CIRCLE)
        << QList<QPointF>{{0.5, 0.8660254037844386}, {0.5, -0.8660254037844386}} << false;
    QTest::newRow("vertical line after a sloped one")
        << line(TWO_POINT_LINE, 2, 1) << int(TWO_POINT_LINE) << line(VERTICAL_LINE, 0, 3) << int(VERTICAL_LINE)
        << QList<QPointF>{{3, 7}} << true;
    QTest::newRow("two sloped lines")
        << line(TWO_POINT_LINE, 1, 0) << int(TWO_POINT_LINE) << line(TWO_POINT_LINE, -1, 2) << int(TWO_POINT_LINE)
        << QList<QPointF>{{1, 1}} << true;
    QTest::newRow("two horizontal lines")
        << line(HORIZONTAL_LINE, 0, 1) << int(HORIZONTAL_LINE) << line(HORIZONTAL_LINE, 0, 3)
        << int(HORIZONTAL_LINE) << QList<QPointF>{} << true;
    QTest::newRow("two vertical lines")
        << line(VERTICAL_LINE, 0, 1) << int(VERTICAL_LINE) << line(VERTICAL_LINE, 0, 3) << int(VERTICAL_LINE)
        << QList<QPointF>{} << true;
    QTest::newRow("line after a point")
        << construction(TRACE_POINT) << int(TRACE_POINT) << line(HORIZONTAL_LINE, 0, 1) << int(HORIZONTAL_LINE)
        << QList<QPointF>{} << true;
    QTest::newRow("point after a line")
        << line(HORIZONTAL_LINE, 0, 1) << int(HORIZONTAL_LINE) << construction(MIDDLE_POINT) << int(MIDDLE_POINT)
        << QList<QPointF>{} << true;
    QTest::newRow("distance after a line: no construction finishes")
        << line(VERTICAL_LINE, 0, 1) << int(VERTICAL_LINE) << valueKind(VERTICAL_DISTANCE)
        << int(VERTICAL_DISTANCE) << QList<QPointF>{} << false;
    // The square root's argument comes out just below zero at this tangency.
    QTest::newRow("circles touching with round-off")
        << circle(1.5, -0.7, 1.77) << int(CIRCLE) << circle(4.52, -0.7, 1.25) << int(CIRCLE)
        << QList<QPointF>{{3.27, -0.7}, {3.27, -0.7}} << false;
}

// The finished construction gains a reference point at each crossing with the
// constructions listed before it; only a circle leaves the points unpickable.
void MeasurementsManagerTest::intersections()
{
    QFETCH(Maker, first);
    QFETCH(int, firstKind);
    QFETCH(Maker, second);
    QFETCH(int, secondKind);
    QFETCH(QList<QPointF>, points);
    QFETCH(bool, pickable);

    Scene s;
    s.createInTurn(Makers({first, second}));
    s.choose(firstKind);
    s.clickAt(20, 50);
    Measurement* listed = s.manager.currentMeasurement();
    s.choose(secondKind);
    s.clickAt(40, 50);
    Measurement* finished = s.manager.currentMeasurement();
    QVERIFY(listed && finished && listed != finished);
    QVERIFY(finished->isFinished());

    QVERIFY(listed->reperPoints().isEmpty());
    const QList<QPointF> gained = positions(finished);
    QCOMPARE(gained.size(), points.size());
    for (int i = 0; i < points.size(); ++i) {
        QVERIFY(std::isfinite(gained[i].x()) && std::isfinite(gained[i].y()));
        QVERIFY2(std::abs(gained[i].x() - points[i].x()) < 1e-9 && std::abs(gained[i].y() - points[i].y()) < 1e-9,
                 qPrintable(QStringLiteral("point %1").arg(i)));
        QVERIFY(s.manager.reperPointController()->contains(finished->reperPoints()[i]));
    }
    if (!points.isEmpty())
        QCOMPARE(pickability(finished), pickable ? QCP::stWhole : QCP::stNone);
}

void MeasurementsManagerTest::equidistant_data()
{
    QTest::addColumn<QString>("before");
    QTest::newRow("nothing being placed") << QString();
    QTest::newRow("a distance half-placed") << QStringLiteral("distance");
    QTest::newRow("after a levelling was chosen") << QStringLiteral("levelling");
    QTest::newRow("after a levelling was placed") << QStringLiteral("placed levelling");
}

// A parallel line is listed last, intersected with the listed constructions
// and reported, and leaves what is being placed as it was.
void MeasurementsManagerTest::equidistant()
{
    QFETCH(QString, before);

    Scene s;
    s.removeAbandonedAsWorkspace();
    s.createInTurn(Makers({line(VERTICAL_LINE, 0, 30), line(HORIZONTAL_LINE, 0, 10),
                           [](PlotWidget* plot) { return new ScriptedMeasurement(VERTICAL_DISTANCE, plot, 2); },
                           [](PlotWidget* plot) { return new ScriptedMeasurement(LAY_FLAT, plot, 1); }}));
    s.choose(VERTICAL_LINE);
    s.clickAt(20, 50);
    s.choose(HORIZONTAL_LINE);
    s.clickAt(40, 50);
    const int lineId = s.manager.currentMeasurement()->id();
    QCOMPARE(s.manager.currentMeasurement()->reperPoints().size(), 1);

    if (before == QLatin1String("distance")) {
        s.choose(VERTICAL_DISTANCE, true, true);
        s.clickAt(60, 50);
    } else if (before.contains(QLatin1String("levelling"))) {
        s.createInTurn(Makers({[](PlotWidget* plot) { return new ScriptedMeasurement(LAY_FLAT, plot, 1); }}));
        s.choose(LAY_FLAT, false);
        if (before.startsWith(QLatin1String("placed")))
            s.clickAt(60, 50);
    }
    Measurement* current = s.manager.currentMeasurement();
    const int listedBefore = s.manager.measurements().size();
    QSignalSpy changes(&s.manager, &MeasurementsManager::measurementChanged);

    s.manager.addEquidistant(lineId, HORIZONTAL_LINE, 2.5);

    QCOMPARE(s.manager.measurements().size(), listedBefore + 1);
    auto* parallel = dynamic_cast<ScriptedLine*>(s.manager.measurements().last());
    QVERIFY(parallel);
    QCOMPARE(parallel->name(), QStringLiteral("Горизонтальная прямая"));
    QCOMPARE(parallel->lineCoefficients(), QVector<double>({0, 12.5}));
    QVERIFY(parallel->isFinished());
    QCOMPARE(positions(parallel), QList<QPointF>({{30, 12.5}}));
    QVERIFY(changes.count() >= 1);
    QCOMPARE(carried(changes.last()), static_cast<Measurement*>(parallel));
    QCOMPARE(s.manager.currentMeasurement(), current);

    if (before == QLatin1String("distance")) {
        // The distance still follows the mouse and finishes as before.
        QVERIFY(!current->isFinished());
        s.clickAt(70, 50);
        QVERIFY(current->isFinished());
        QCOMPARE(s.manager.measurements().size(), listedBefore + 1);
    } else if (before.startsWith(QLatin1String("placed"))) {
        // The next press deletes the levelling, not the parallel line.
        s.choose(VERTICAL_DISTANCE, true, true);
        s.clickAt(70, 50);
        QCOMPARE(s.deletions(current), 1);
        QVERIFY(s.manager.measurements().contains(parallel));
    }
    QCOMPARE(s.deletions(parallel), 0);
    QVERIFY(s.nothingLeaked());
}

void MeasurementsManagerTest::equidistantOfUnknownOrWrongKind()
{
    Scene s;
    s.createInTurn(Makers({line(HORIZONTAL_LINE, 0, 10), construction(TRACE_POINT)}));
    s.choose(HORIZONTAL_LINE);
    s.clickAt(20, 50);
    const int lineId = s.manager.currentMeasurement()->id();
    s.choose(TRACE_POINT);
    s.clickAt(40, 50);
    const int pointId = s.manager.currentMeasurement()->id();
    QSignalSpy changes(&s.manager, &MeasurementsManager::measurementChanged);

    s.manager.addEquidistant(lineId + 1000, HORIZONTAL_LINE, 1);
    s.manager.addEquidistant(lineId, TRACE_POINT, 1);
    s.manager.addEquidistant(pointId, HORIZONTAL_LINE, 1);
    QCOMPARE(s.manager.measurements().size(), 2);
    QCOMPARE(changes.count(), 0);
}

// Creating a drawing comparison enables the drawing-deviation button and
// clears the chosen kind; removing one disables it, even with another left.
void MeasurementsManagerTest::drawingComparison()
{
    Scene s;
    s.createStandIns(2);
    QSignalSpy button(&s.manager, &MeasurementsManager::enableButton);
    s.choose(DRAWING_COMPARISON);
    s.clickAt(20, 50);
    QCOMPARE(button.count(), 1);
    QCOMPARE(button.at(0).at(0).toBool(), true);
    QCOMPARE(s.manager.measurementType(), int(NO_MEASUREMENT));
    Measurement* first = s.manager.currentMeasurement();
    s.clickAt(30, 50);
    QVERIFY(first->isFinished());

    s.clickAt(40, 50);
    QCOMPARE(s.manager.factoryWindows.size(), 1);

    s.choose(DRAWING_COMPARISON);
    s.clickAt(50, 50);
    s.clickAt(60, 50);
    QCOMPARE(s.manager.measurements().size(), 2);
    QCOMPARE(button.count(), 2);

    s.manager.removeMeasurement(first->id());
    QCOMPARE(button.count(), 3);
    QCOMPARE(button.at(2).at(0).toBool(), false);
    QCOMPARE(s.manager.measurements().size(), 1);
}

void MeasurementsManagerTest::removal()
{
    Scene s;
    s.createStandIns(2);
    s.choose(HORIZONTAL_DISTANCE);
    s.clickAt(10, 50);
    s.clickAt(20, 50);
    Measurement* finished = s.manager.currentMeasurement();
    s.clickAt(30, 50);
    Measurement* placing = s.manager.currentMeasurement();
    QVERIFY(!placing->isFinished());

    s.manager.removeMeasurement(placing->id() + 1000);
    QCOMPARE(s.manager.measurements().size(), 2);
    QCOMPARE(s.manager.findMeasurement(placing->id() + 1000), nullptr);
    QCOMPARE(s.manager.findMeasurement(finished->id()), finished);

    const int placingId = placing->id();
    s.manager.removeMeasurement(placingId);
    QCOMPARE(s.deletions(placing), 1);
    QVERIFY(!s.manager.currentMeasurement());
    QCOMPARE(s.manager.findMeasurement(placingId), nullptr);
    QCOMPARE(s.manager.measurements(), QList<Measurement*>({finished}));

    s.clickAt(40, 50);
    QVERIFY(s.manager.currentMeasurement());
    QCOMPARE(s.manager.measurements().size(), 2);
}

void MeasurementsManagerTest::plotSetUpByKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("pickable");
    QTest::addColumn<bool>("keepsInteractions");
    QTest::addColumn<bool>("marker");
    QTest::addColumn<bool>("textCursor");

    QTest::newRow("distance") << int(VERTICAL_DISTANCE) << true << false << true << false;
    QTest::newRow("angle") << int(REGULAR_ANGLE) << false << false << true << false;
    QTest::newRow("text") << int(TEXT_PLACEMENT) << false << true << false << true;
    QTest::newRow("no kind") << int(NO_MEASUREMENT) << false << true << false << false;
}

void MeasurementsManagerTest::plotSetUpByKind()
{
    QFETCH(int, kind);
    QFETCH(bool, pickable);
    QFETCH(bool, keepsInteractions);
    QFETCH(bool, marker);
    QFETCH(bool, textCursor);

    Scene s;
    s.createInTurn(Makers({construction(TRACE_POINT)}));
    s.choose(TRACE_POINT);
    s.clickAt(20, 50);
    Measurement* point = s.manager.currentMeasurement();
    point->addReperPoints(1);
    point->setReperPoint(0, QPointF(20, 50));
    QVERIFY(s.manager.reperPointController()->contains(point->reperPoints().first()));
    s.f.plot.setInteractions(QCP::iRangeZoom);
    s.f.plot.unsetCursor();

    s.choose(kind, true, pickable);

    QCOMPARE(pickability(point), pickable ? QCP::stWhole : QCP::stNone);
    QCOMPARE(s.f.plot.interactions(),
             keepsInteractions ? QCP::Interactions(QCP::iRangeZoom) | QCP::iRangeSelection : QCP::iRangeSelection);
    QCOMPARE(markerVisible(s.f.plot), marker);
    QCOMPARE(s.f.plot.cursor().shape() == Qt::IBeamCursor, textCursor);
}

// Changes, texts and rotations reach the workspace through the manager; a
// change of the traces recalculates every listed measurement.
void MeasurementsManagerTest::forwardedSignals()
{
    Scene s;
    s.createStandIns(2);
    s.choose(VERTICAL_DISTANCE);
    s.clickAt(10, 50);
    s.clickAt(20, 50);
    auto* first = static_cast<ScriptedMeasurement*>(s.manager.currentMeasurement());
    s.clickAt(30, 50);
    auto* second = static_cast<ScriptedMeasurement*>(s.manager.currentMeasurement());
    s.clickAt(35, 50);
    s.choose(LAY_FLAT, false);
    s.clickAt(40, 50);
    auto* levelling = static_cast<ScriptedMeasurement*>(s.manager.currentMeasurement());
    QVERIFY(!levelling->isFinished());

    QSignalSpy changes(&s.manager, &MeasurementsManager::measurementChanged);
    QSignalSpy texts(&s.manager, &MeasurementsManager::statusText);
    QSignalSpy rotations(&s.manager, &MeasurementsManager::setNewAngleAndCenterRot);

    emit first->measumentChanged();
    emit levelling->measumentChanged();
    QCOMPARE(changes.count(), 1);
    QCOMPARE(carried(changes.at(0)), static_cast<Measurement*>(first));

    emit second->statusText(QStringLiteral("Расположите значение"));
    QCOMPARE(texts.count(), 1);
    QCOMPARE(texts.at(0).at(0).toString(), QStringLiteral("Расположите значение"));

    emit levelling->setNewAngleAndCenterRot(0.25, QPointF(3, 4));
    QCOMPARE(rotations.count(), 1);
    QCOMPARE(rotations.at(0).at(0).toDouble(), 0.25);
    QCOMPARE(rotations.at(0).at(1).toPointF(), QPointF(3, 4));

    const int firstBefore = first->calculations;
    const int secondBefore = second->calculations;
    const int levellingBefore = levelling->calculations;
    emit levelling->graphDataChanged();
    QCOMPARE(first->calculations, firstBefore + 1);
    QCOMPARE(second->calculations, secondBefore + 1);
    QCOMPARE(levelling->calculations, levellingBefore);
}

void MeasurementsManagerTest::promptOfPlacedStands_data()
{
    QTest::addColumn<bool>("placing");
    QTest::addColumn<bool>("prompted");
    QTest::addColumn<bool>("shown");

    QTest::newRow("nothing placed") << false << false << true;
    QTest::newRow("half-placed, silent") << true << false << true;
    QTest::newRow("half-placed, prompting") << true << true << false;
}

// A finished measurement's text, as its recalculation for a new unit gives
// it, shows unless it would replace the prompt of the measurement being
// placed.
void MeasurementsManagerTest::promptOfPlacedStands()
{
    QFETCH(bool, placing);
    QFETCH(bool, prompted);
    QFETCH(bool, shown);

    Scene s;
    s.createStandIns(2);
    s.choose(VERTICAL_DISTANCE);
    s.clickAt(10, 50);
    s.clickAt(20, 50);
    Measurement* finished = s.manager.currentMeasurement();
    QVERIFY(finished->isFinished());
    if (placing)
        s.clickAt(30, 50);
    QSignalSpy texts(&s.manager, &MeasurementsManager::statusText);
    const QString prompt = QStringLiteral("Укажите вторую точку");
    if (prompted)
        emit s.manager.currentMeasurement()->statusText(prompt);

    const QString value = QStringLiteral("Высота: 2.0000мм");
    emit finished->statusText(value);
    QCOMPARE(signalTexts(texts).last(), shown ? value : prompt);
    // The measurement placed still changes its own text.
    if (placing) {
        emit s.manager.currentMeasurement()->statusText(QStringLiteral("Высота: 3.0000мм"));
        QCOMPARE(signalTexts(texts).last(), QStringLiteral("Высота: 3.0000мм"));
    }
}

void MeasurementsManagerTest::promptOfAbandonedWithdrawn_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("prompted");

    for (const char* end : {"Escape", "another kind", "removed"}) {
        QTest::addRow("%s, prompting", end) << end << true;
        QTest::addRow("%s, silent", end) << end << false;
    }
}

// A half-placed measurement that is abandoned or removed clears the status
// line when its prompt stands there, and leaves another's text alone.
void MeasurementsManagerTest::promptOfAbandonedWithdrawn()
{
    QFETCH(QString, end);
    QFETCH(bool, prompted);

    Scene s;
    s.removeAbandonedAsWorkspace();
    s.createStandIns(2);
    s.choose(VERTICAL_DISTANCE);
    s.clickAt(10, 50);
    s.clickAt(20, 50);
    emit s.manager.currentMeasurement()->statusText(QStringLiteral("Высота: 2.0000мм"));
    s.clickAt(30, 50);
    Measurement* placed = s.manager.currentMeasurement();
    QVERIFY(!placed->isFinished());
    if (prompted)
        emit placed->statusText(QStringLiteral("Укажите вторую точку"));
    QSignalSpy texts(&s.manager, &MeasurementsManager::statusText);

    if (end == QLatin1String("Escape"))
        s.pressEscape();
    else if (end == QLatin1String("another kind"))
        s.choose(HORIZONTAL_DISTANCE);
    else
        s.manager.removeMeasurement(placed->id());
    QVERIFY(!s.manager.currentMeasurement());
    QCOMPARE(signalTexts(texts), prompted ? QStringList{QString()} : QStringList());
}

void MeasurementsManagerTest::destructorDeletesEachOnce_data()
{
    QTest::addColumn<bool>("keepLast");
    QTest::addColumn<int>("lastClicks");
    QTest::newRow("unlisted finished current") << false << 2;
    QTest::newRow("unlisted half-placed current") << false << 1;
    QTest::newRow("listed half-placed current") << true << 1;
    QTest::newRow("listed finished current") << true << 2;
}

void MeasurementsManagerTest::destructorDeletesEachOnce()
{
    QFETCH(bool, keepLast);
    QFETCH(int, lastClicks);

    Scene s;
    auto manager = std::make_unique<ScriptedManager>(&s.f.plot, &s.host);
    manager->made = [&s](Measurement* m) { s.watch(m); };
    manager->factory = [](int kind, PlotWidget* plot) { return new ScriptedMeasurement(kind, plot, 2); };
    manager->setMeasurementType(VERTICAL_DISTANCE, true, true, QString());
    for (double x : {10, 20, 30, 40})
        s.clickAt(x, 50);
    manager->setMeasurementType(keepLast ? HORIZONTAL_DISTANCE : LAY_FLAT, keepLast, false, QString());
    for (int i = 0; i < lastClicks; ++i)
        s.clickAt(50 + 10 * i, 50);
    QCOMPARE(manager->measurements().size(), keepLast ? 3 : 2);
    QCOMPARE(s.watchedCount(), 3);
    const QPointer<ReperPointController> controller = manager->reperPointController();

    manager.reset();
    QVERIFY(s.eachDeletedOnce());
    QVERIFY(!controller);
}

KALVORA_TEST_MAIN(MeasurementsManagerTest)
#include "MeasurementsManagerTest.moc"
