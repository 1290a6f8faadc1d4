#include "ManagerScene.h"

#include "measurements/AgTextPlacement.h"
#include "measurements/ArcsRadiusMeasurement.h"
#include "measurements/CircumfAGMeasurement.h"
#include "measurements/CircumfAGSpecified.h"
#include "measurements/ClickDoubleLine.h"
#include "measurements/ClickHorizontalLine.h"
#include "measurements/ClickPoint.h"
#include "measurements/ClickVerticalLine.h"
#include "measurements/DirectDistanceMeasurement.h"
#include "measurements/FindMaxPoint.h"
#include "measurements/FindMinPoint.h"
#include "measurements/HorisontalDistanceMeasurment.h"
#include "measurements/HorizontalAngleMeasurement.h"
#include "measurements/LayFlatByTwoMeasurement.h"
#include "measurements/LayFlatMeasurement.h"
#include "measurements/MeanHeightMeasurement.h"
#include "measurements/MiddlePoint.h"
#include "measurements/RadiusDisplacementErrorMeasurementByTwoSegment.h"
#include "measurements/RadiusDisplacementFilterErrorMeasurement.h"
#include "measurements/RAMeasurement.h"
#include "measurements/RDEMeasurement.h"
#include "measurements/RDEMFiterByTwoSegment.h"
#include "measurements/RDEMSpecified.h"
#include "measurements/RegularAngleMeasurement.h"
#include "measurements/RegularRadiusMeasurement.h"
#include "measurements/ReperPoint.h"
#include "measurements/ReperPointController.h"
#include "measurements/RMSEMeasurement.h"
#include "measurements/RZMeasurement.h"
#include "measurements/Thread.h"
#include "measurements/VerticalAngleMeasurement.h"
#include "measurements/VerticalDistanceMeasurment.h"

#include "MessageBoxAnswerer.h"
#include "TestMain.h"

#include <QInputDialog>
#include <QSignalSpy>

#include <cmath>
#include <typeinfo>

// The manager with its own factory, on the plot of ManagerScene: one trace
// along y = 50 over x = 0..100.
namespace {

using ClassOf = const std::type_info*;

class Scene : public ManagerScene<MeasurementsManager>
{
public:
    void choose(int kind, const QString& parameter = QString(), bool pickable = true)
    {
        manager.setMeasurementType(kind, true, pickable, parameter);
    }

    // A press at a trace point, which creates the measurement of the chosen
    // kind; the release is left to the caller.
    Measurement* pressAt(double x, double y)
    {
        const QPoint p = f.pixel(x, y);
        f.move(p);
        f.press(p);
        return manager.currentMeasurement();
    }

    void releaseAt(double x, double y) { f.release(f.pixel(x, y)); }

    // A stretch of the trace picked with the selection rectangle.
    void dragAlong(double from, double to) { f.drag(f.pixel(from, 50), f.pixel(to, 50)); }

    // A listed line of that kind through the trace point at x (the two-point
    // line also through x + 20).
    Measurement* placeLine(E_MEASUREMENTS kind, double x)
    {
        choose(kind);
        clickAt(x, 50);
        if (kind == TWO_POINT_LINE)
            clickAt(x + 20, 50);
        return manager.currentMeasurement();
    }
};

} // namespace

Q_DECLARE_METATYPE(ClassOf)

class MeasurementsManagerKindsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<Measurement*>(); }
    void factory_data();
    void factory();
    void givenRadius_data();
    void givenRadius();
    void stretchCount_data();
    void stretchCount();
    void textAsksOverTheWindow();
    void equidistantLines_data();
    void equidistantLines();
    void distanceListedAndOutlivesItsReferenceLine();
};

void MeasurementsManagerKindsTest::factory_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<ClassOf>("expected");

    const auto row = [](E_MEASUREMENTS kind, ClassOf expected) {
        QTest::addRow("%d", int(kind)) << int(kind) << expected;
    };
    row(VERTICAL_DISTANCE, &typeid(VerticalDistanceMeasurment));
    row(HORIZONTAL_DISTANCE, &typeid(HorisontalDistanceMeasurment));
    row(DIRECT_DISTANCE, &typeid(DirectDistanceMeasurement));
    row(VERTICAL_ANGLE, &typeid(VerticalAngleMeasurement));
    row(HORIZONTAL_ANGLE, &typeid(HorizontalAngleMeasurement));
    row(REGULAR_ANGLE, &typeid(RegularAngleMeasurement));
    row(REGULAR_RADIUS, &typeid(RegularRadiusMeasurement));
    row(ARCS_RADIUS, &typeid(ArcsRadiusMeasurement));
    row(LAY_FLAT, &typeid(LayFlatMeasurement));
    row(LAY_FLAT_BY_TWO, &typeid(LayFlatByTwoMeasurement));
    row(MEAN_HEIGHT, &typeid(MeanHeightMeasurement));
    row(LINE_DEVIATION, &typeid(RMSEMeasurement));
    row(CIRCLE_DEVIATION, &typeid(RDEMeasurement));
    row(CIRCLE_DEVIATION_SPECIFIED, &typeid(RDEMSpecified));
    row(CIRCLE_DEVIATION_FILTERED, &typeid(RadiusDisplacementFilterErrorMeasurement));
    row(CIRCLE_DEVIATION_BY_SEGMENTS, &typeid(RadiusDisplacementErrorMeasurementByTwoSegment));
    row(CIRCLE_DEVIATION_FILTERED_BY_SEGMENTS, &typeid(RDEMFiterByTwoSegment));
    row(ROUGHNESS_RA, &typeid(RAMeasurement));
    row(ROUGHNESS_RZ, &typeid(RZMeasurement));
    row(CIRCLE, &typeid(CircumfAGMeasurement));
    row(CIRCLE_SPECIFIED, &typeid(CircumfAGSpecified));
    row(HORIZONTAL_LINE, &typeid(ClickHorizontalLine));
    row(VERTICAL_LINE, &typeid(ClickVerticalLine));
    row(TWO_POINT_LINE, &typeid(ClickDoubleLine));
    row(TRACE_POINT, &typeid(ClickPoint));
    row(MIDDLE_POINT, &typeid(MiddlePoint));
    row(THREAD_MEAN_DIAMETER, &typeid(Thread));
    row(MAX_POINT, &typeid(FindMaxPoint));
    row(MIN_POINT, &typeid(FindMinPoint));
    row(TEXT_PLACEMENT, &typeid(AgTextPlacement));
    const ClassOf none = nullptr;
    QTest::newRow("code 17") << 17 << none;
    QTest::newRow("no kind") << int(NO_MEASUREMENT) << none;
    QTest::newRow("code above the kinds") << 40 << none;
}

// A left press creates a measurement of the chosen kind's own class, which
// reports the kind's type and name and is listed.
void MeasurementsManagerKindsTest::factory()
{
    QFETCH(int, kind);
    QFETCH(ClassOf, expected);

    // The text kind asks for its text at the release: cancelled.
    MessageBoxAnswerer answerer;
    Scene s;
    s.choose(kind, QStringLiteral("3"));
    Measurement* created = s.pressAt(30, 50);
    if (!expected) {
        QVERIFY(!created);
        s.releaseAt(30, 50);
        QVERIFY(s.manager.measurements().isEmpty());
        return;
    }
    QVERIFY(created);
    QCOMPARE(QByteArray(typeid(*created).name()), QByteArray(expected->name()));
    QCOMPARE(created->type(), measurementKind(kind)->type);
    QCOMPARE(created->name(), measurementKind(kind)->name);
    QCOMPARE(created->yieldsValue(), measurementKind(kind)->yieldsValue);
    QCOMPARE(s.manager.measurements(), QList<Measurement*>({created}));
    s.releaseAt(30, 50);
}

void MeasurementsManagerKindsTest::givenRadius_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<double>("radius");

    for (E_MEASUREMENTS kind : {CIRCLE_DEVIATION_SPECIFIED, CIRCLE_SPECIFIED}) {
        QTest::addRow("%d, 2.5", int(kind)) << int(kind) << QStringLiteral("2.5") << 2.5;
        QTest::addRow("%d, 12", int(kind)) << int(kind) << QStringLiteral("12") << 12.0;
        // A cancelled radius dialog still chooses the kind.
        QTest::addRow("%d, cancelled", int(kind)) << int(kind) << QString() << 0.0;
        QTest::addRow("%d, unreadable", int(kind)) << int(kind) << QStringLiteral("2,5") << 0.0;
    }
}

// The kinds of a given radius take it from the parameter of the choice.
void MeasurementsManagerKindsTest::givenRadius()
{
    QFETCH(int, kind);
    QFETCH(QString, parameter);
    QFETCH(double, radius);

    Scene s;
    s.choose(kind, parameter);
    Measurement* created = s.pressAt(30, 50);
    if (kind == CIRCLE_SPECIFIED) {
        auto* circle = dynamic_cast<CircumfAGSpecified*>(created);
        QVERIFY(circle);
        QCOMPARE(circle->circle().radius, radius);
    } else {
        auto* deviation = dynamic_cast<RDEMSpecified*>(created);
        QVERIFY(deviation);
        QCOMPARE(deviation->radius(), radius);
    }
    s.releaseAt(30, 50);
}

void MeasurementsManagerKindsTest::stretchCount_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<int>("stretches");

    QTest::newRow("15, two") << int(CIRCLE_DEVIATION_BY_SEGMENTS) << QStringLiteral("2") << 2;
    QTest::newRow("15, three") << int(CIRCLE_DEVIATION_BY_SEGMENTS) << QStringLiteral("3") << 3;
    QTest::newRow("16, three") << int(CIRCLE_DEVIATION_FILTERED_BY_SEGMENTS) << QStringLiteral("3") << 3;
    QTest::newRow("16, four") << int(CIRCLE_DEVIATION_FILTERED_BY_SEGMENTS) << QStringLiteral("4") << 4;
}

// The deviations over several stretches take their count from the parameter:
// the band follows the mouse only once that many stretches are picked. The
// press of the first drag creates the measurement.
void MeasurementsManagerKindsTest::stretchCount()
{
    QFETCH(int, kind);
    QFETCH(QString, parameter);
    QFETCH(int, stretches);

    Scene s;
    s.choose(kind, parameter, false);
    ErrorMeasurement* deviation = nullptr;
    for (int i = 0; i < stretches; ++i) {
        QVERIFY2(!deviation || !deviation->isPlacing(), qPrintable(QStringLiteral("after %1 stretches").arg(i)));
        s.dragAlong(5 + 20 * i, 15 + 20 * i);
        deviation = dynamic_cast<ErrorMeasurement*>(s.manager.currentMeasurement());
        QVERIFY(deviation);
    }
    QVERIFY(deviation->isPlacing());
    QCOMPARE(s.manager.measurements(), QList<Measurement*>({deviation}));
}

// The text is asked for over the manager's window, and the accepted text is
// placed.
void MeasurementsManagerKindsTest::textAsksOverTheWindow()
{
    MessageBoxAnswerer answerer;
    QWidget* dialogParent = nullptr;
    answerer.onDialog([&](QWidget* dialog) {
        dialogParent = dialog->parentWidget();
        QVERIFY(qobject_cast<QInputDialog*>(dialog));
        QVERIFY(MessageBoxAnswerer::enterText(dialog, QStringLiteral("Фаска")));
    });
    Scene s;
    s.choose(TEXT_PLACEMENT, QString(), false);
    s.clickAt(40, 70);

    QTRY_VERIFY(s.manager.currentMeasurement() && s.manager.currentMeasurement()->isFinished());
    QCOMPARE(dialogParent, &s.host);
    auto* text = dynamic_cast<AgTextPlacement*>(s.manager.currentMeasurement());
    QVERIFY(text);
    QCOMPARE(text->textItem()->text(), QStringLiteral("Фаска"));
    QCOMPARE(s.manager.measurements(), QList<Measurement*>({text}));
}

void MeasurementsManagerKindsTest::equidistantLines_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<ClassOf>("expected");
    QTest::addColumn<QVector<double>>("coefficients");

    QTest::newRow("horizontal") << int(HORIZONTAL_LINE) << ClassOf(&typeid(ClickHorizontalLine))
                                << QVector<double>{0, 52.5};
    QTest::newRow("vertical") << int(VERTICAL_LINE) << ClassOf(&typeid(ClickVerticalLine))
                              << QVector<double>{0, 32.5};
    QTest::newRow("through two points") << int(TWO_POINT_LINE) << ClassOf(&typeid(ClickDoubleLine))
                                        << QVector<double>{0, 52.5};
}

// A parallel to a placed line is a finished line of the same class, its
// offset moved, listed last and reported.
void MeasurementsManagerKindsTest::equidistantLines()
{
    QFETCH(int, kind);
    QFETCH(ClassOf, expected);
    QFETCH(QVector<double>, coefficients);

    Scene s;
    Measurement* placed = s.placeLine(E_MEASUREMENTS(kind), 30);
    QVERIFY(placed && placed->isFinished());
    QSignalSpy changes(&s.manager, &MeasurementsManager::measurementChanged);

    s.manager.addEquidistant(placed->id(), E_MEASUREMENTS(kind), 2.5);

    QCOMPARE(s.manager.measurements().size(), 2);
    Measurement* parallel = s.manager.measurements().last();
    QCOMPARE(QByteArray(typeid(*parallel).name()), QByteArray(expected->name()));
    QVERIFY(parallel->isFinished());
    QCOMPARE(dynamic_cast<LinePrimitive*>(parallel)->lineCoefficients(), coefficients);
    QVERIFY(!changes.isEmpty());
    QCOMPARE(*static_cast<Measurement* const*>(changes.last().at(0).constData()), parallel);
    QCOMPARE(s.manager.currentMeasurement(), placed);
}

// A distance measured from the crossing point of two lines stays listed and
// keeps a finite value after the line that owns the crossing point is removed
// and the measurements are recalculated.
void MeasurementsManagerKindsTest::distanceListedAndOutlivesItsReferenceLine()
{
    Scene s;
    s.placeLine(VERTICAL_LINE, 30);
    const int horizontalId = s.placeLine(HORIZONTAL_LINE, 60)->id();
    // The parallel at y = 70 crosses the vertical line off the trace.
    s.manager.addEquidistant(horizontalId, HORIZONTAL_LINE, 20);
    Measurement* parallel = s.manager.measurements().last();
    QCOMPARE(parallel->reperPoints().size(), 1);
    const QPointer<ReperPoint> crossing = parallel->reperPoints().first();
    QCOMPARE(crossing->position(), QPointF(30, 70));

    QSignalSpy changes(&s.manager, &MeasurementsManager::measurementChanged);
    s.choose(VERTICAL_DISTANCE);
    s.clickAt(30, 70);
    s.clickAt(60, 50);
    s.clickAt(80, 85);
    auto* distance = dynamic_cast<VerticalDistanceMeasurment*>(s.manager.currentMeasurement());
    QVERIFY(distance);
    QVERIFY(distance->isFinished());
    QCOMPARE(s.manager.measurements().size(), 4);
    QCOMPARE(s.manager.measurements().last(), static_cast<Measurement*>(distance));
    QVERIFY(!changes.isEmpty());
    QCOMPARE(*static_cast<Measurement* const*>(changes.first().at(0).constData()),
             static_cast<Measurement*>(distance));
    QCOMPARE(distance->value(), 20.0);
    QCOMPARE(distance->reperPoints().first()->position(), QPointF(30, 70));

    s.manager.removeMeasurement(parallel->id());
    QVERIFY(!crossing);
    QCOMPARE(s.manager.measurements().size(), 3);

    s.manager.recalculateListed();
    QVERIFY(std::isfinite(distance->value()));
    QVERIFY(std::isfinite(distance->reperPoints().first()->position().x()));
    QVERIFY(s.manager.measurements().contains(distance));
}

KALVORA_TEST_MAIN(MeasurementsManagerKindsTest)
#include "MeasurementsManagerKindsTest.moc"
