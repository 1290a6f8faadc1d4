#include "WorkspaceScene.h"

#include "ArcPoints.h"
#include "ReferenceFits.h"

#include "contour/ContourReportData.h"
#include "measurements/AgTextPlacement.h"
#include "measurements/CircleConstruction.h"
#include "measurements/ComparePlaneDXF.h"
#include "measurements/CurvatureMeasurement.h"
#include "measurements/ErrorMeasurement.h"
#include "measurements/LinePrimitive.h"
#include "measurements/ReperPoint.h"
#include "measurements/Thread.h"
#include "measurements/math/LengthUnit.h"

#include "FuzzyCompare.h"
#include "MessageBoxAnswerer.h"
#include "SettingsFixture.h"
#include "TestMain.h"
#include "ThreadProfile.h"

#include <QInputDialog>

#include <cmath>

namespace {

using Points = QVector<QPointF>;

// The stretches a trace curve was highlighted with: the last selection of
// more than one point, as the user saw it when the mouse was released (a
// finishing construction then reduces the curve to single points).
class HighlightProbe
{
public:
    explicit HighlightProbe(QCPCurve* curve)
    {
        QObject::connect(curve, QOverload<const QCPDataSelection&>::of(&QCPAbstractPlottable::selectionChanged),
                         curve, [this](const QCPDataSelection& selection) {
                             if (selection.dataPointCount() > 1)
                                 m_last = selection.dataRange(0);
                         });
    }

    QCPDataRange last() const { return m_last; }

private:
    QCPDataRange m_last;
};

Points pointsOf(const QCPCurve* curve, int begin, int end)
{
    Points points;
    for (int i = begin; i < end; ++i)
        points.append(pointOf(curve, i));
    return points;
}

reference::Circle circleOf(const QCPItemEllipse* item)
{
    const QPointF topLeft = item->topLeft->coords();
    const QPointF bottomRight = item->bottomRight->coords();
    return {(topLeft + bottomRight) / 2, (bottomRight.x() - topLeft.x()) / 2};
}

// The circle a measurement of the circle families drew or constructed.
reference::Circle drawnCircle(const Measurement* m)
{
    if (const auto* construction = dynamic_cast<const CircleConstruction*>(m))
        return {construction->circle().centre, construction->circle().radius};
    if (const auto* radius = dynamic_cast<const CurvatureMeasurement*>(m))
        return circleOf(radius->circleItem());
    return circleOf(static_cast<const ErrorMeasurement*>(m)->circleItem());
}

bool near(const QPointF& a, const QPointF& b, double tolerance)
{
    return std::abs(a.x() - b.x()) <= tolerance && std::abs(a.y() - b.y()) <= tolerance;
}

// Relative to the larger magnitude, for coordinates in different units.
bool sameUpTo(const QPointF& a, const QPointF& b, double relative)
{
    const double scale = std::max({1.0, std::abs(a.x()), std::abs(a.y()), std::abs(b.x()), std::abs(b.y())});
    return near(a, b, relative * scale);
}

// A quarter of the circle of radius 2 mm about (5 mm, 0), 200 points, radii
// spread by 10 um either way; in micrometres, as traces are.
Points noisyArc()
{
    return arcPoints(QPointF(5000, 0), 2000, 135, 45, 200, 10);
}

// A V of two flanks at 60 degrees to the horizontal meeting at (3 mm, 0): its
// opening is 60 degrees.
Points vee()
{
    Points points;
    for (int i = 0; i <= 300; ++i) {
        const double x = 20.0 * i;
        points.append(QPointF(x, std::abs(x - 3000) * std::tan(60 * 3.14159265358979323846 / 180)));
    }
    return points;
}

// The dialogs of the kinds that ask for a number are accepted as they come.
void acceptDialogs(MessageBoxAnswerer& answerer)
{
    answerer.onDialog([](QWidget* dialog) { MessageBoxAnswerer::clickStandardButton(dialog, QDialogButtonBox::Ok); });
}

// Visible texts on the plot that begin with the measurement's name: its value
// label.
QStringList shownLabels(const WorkspaceScene& scene, const Measurement* m)
{
    QStringList texts;
    for (int i = 0; i < scene.plot()->itemCount(); ++i) {
        const auto* text = qobject_cast<const QCPItemText*>(scene.plot()->item(i));
        if (text && text->visible() && text->text().contains(m->name() + QStringLiteral(":")))
            texts << text->text();
    }
    return texts;
}

enum class Expected { Radius, Circle, GivenRadius, LineDeviation, CircleDeviation };

// A ground surface sampled every 2 um over 8 mm, as the instrument samples:
// waves of 100, 37 and 13 um with heights of 2, 0.7 and 0.3 um.
Points groundSurface()
{
    const double twoPi = 2 * 3.14159265358979323846;
    Points points;
    for (int i = 0; i <= 4000; ++i) {
        const double x = 2.0 * i;
        points.append(QPointF(x, 2 * std::sin(twoPi * x / 100) + 0.7 * std::sin(twoPi * x / 37 + 1)
                                     + 0.3 * std::sin(twoPi * x / 13)));
    }
    return points;
}

// The top of a circle of radius 2 mm about (5 mm, 0) sampled every 2 um in x
// over 2.8 mm, the heights spread by half a micrometre.
Points sampledArc()
{
    Points points;
    for (int i = 0; i <= 1400; ++i) {
        const double x = 3600 + 2.0 * i;
        points.append(QPointF(x, std::sqrt(2000.0 * 2000.0 - (x - 5000) * (x - 5000)) + 0.5 * std::sin(7.3 * i)));
    }
    return points;
}

enum class Contour { Surface, Arc, Vee };

// What a kind's result is, and so how it scales with the display unit.
enum class Quantity { Length, Angle, Micrometres, ConstructedCircle };

Points contourPoints(Contour contour)
{
    switch (contour) {
    case Contour::Surface:
        return groundSurface();
    case Contour::Arc:
        return sampledArc();
    case Contour::Vee:
        return vee();
    }
    return {};
}

// The result in millimetres, degrees or micrometres, whatever the display
// unit: a constructed circle gives its radius and both coordinates of its
// centre.
QVector<double> resultOf(const Measurement* m, Quantity quantity, int unit)
{
    switch (quantity) {
    case Quantity::Length:
        return {m->value() / MeasurementMath::unitsPerMillimetre(unit).value()};
    case Quantity::Angle:
    case Quantity::Micrometres:
        return {m->value()};
    case Quantity::ConstructedCircle: {
        const reference::Circle circle = drawnCircle(m);
        const double scale = MeasurementMath::unitsPerMillimetre(unit).value();
        return {circle.radius / scale, circle.centre.x() / scale, circle.centre.y() / scale};
    }
    }
    return {};
}

// A step of 2 mm tilted by 2 degrees: a low flat over 0 ... 4 mm, a rise over
// 4 ... 5 mm and a high flat over 5 ... 10 mm, sampled every 10 um before the
// tilt.
Points tiltedStep()
{
    const double tilt = 2 * 3.14159265358979323846 / 180;
    Points points;
    for (int i = 0; i <= 1000; ++i) {
        const double x = 10.0 * i;
        const double y = std::clamp((x - 4000) * 2, 0.0, 2000.0);
        points.append(QPointF(x * std::cos(tilt) - y * std::sin(tilt), x * std::sin(tilt) + y * std::cos(tilt)));
    }
    return points;
}

// The points of the low flat and of the rise of the tilted step.
const QPoint kLowFlat{50, 350};
const QPoint kRise{410, 490};

// One levelling: the lay-flat button and the stretches dragged for it.
struct Levelling
{
    QString button;
    QVector<QPoint> drags;
};

} // namespace

Q_DECLARE_METATYPE(Expected)
Q_DECLARE_METATYPE(Contour)
Q_DECLARE_METATYPE(Quantity)
Q_DECLARE_METATYPE(QVector<Levelling>)

class ContourValuesTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init() { loadSettingsFile(); }
    void cleanup() { ComparePlaneDXF::setFileProvider({}); }

    void valueIsTheFitOfTheStretchHighlightedAtRelease_data();
    void valueIsTheFitOfTheStretchHighlightedAtRelease();
    void openAngleFitsAgainAfterUnitChange();
    void placedGeometryFollowsUnitChanges();
    void valueNotComputedShowsNoNumber_data();
    void valueNotComputedShowsNoNumber();
    void valuesFromStretchesKeepTheirSizeInEveryUnit_data();
    void valuesFromStretchesKeepTheirSizeInEveryUnit();
    void levelledContourStaysLevelInEveryUnit_data();
    void levelledContourStaysLevelInEveryUnit();
};

void ContourValuesTest::valueIsTheFitOfTheStretchHighlightedAtRelease_data()
{
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("buttonName");
    // Pairs of trace point indexes: each stretch dragged from one to the other.
    QTest::addColumn<QVector<QPoint>>("drags");
    // Whether a click places the value once the stretches are picked.
    QTest::addColumn<bool>("placed");
    QTest::addColumn<Expected>("expected");

    const QVector<QPoint> one{{20, 150}};
    const QVector<QPoint> two{{20, 70}, {110, 170}};
    QTest::newRow("radius") << "actionRadius" << "pushButtonRadius" << one << true << Expected::Radius;
    QTest::newRow("radius of two arcs") << "actionRadius" << "pushButtonMultiRadius" << two << true << Expected::Radius;
    QTest::newRow("circle") << "actionCircumferenceAdditionalGeometry" << "pushButtonCircumSelect" << one << false
                            << Expected::Circle;
    QTest::newRow("circle of a given radius") << "actionCircumferenceAdditionalGeometry"
                                              << "pushButtonAGCircumSpecified" << one << false << Expected::GivenRadius;
    QTest::newRow("deviation from a line") << "actionErrors" << "pushButtonRMSE" << one << true
                                           << Expected::LineDeviation;
    QTest::newRow("deviation from a circle")
        << "actionErrors" << "pushButtonRadiusError" << one << true << Expected::CircleDeviation;
    QTest::newRow("deviation from a circle, dragged back")
        << "actionErrors" << "pushButtonRadiusError" << QVector<QPoint>{{150, 20}} << true
        << Expected::CircleDeviation;
    QTest::newRow("deviation from a circle over two stretches")
        << "actionErrors" << "pushButtonRadiusErrorByTwoSegment" << two << true << Expected::CircleDeviation;
}

// A drag ends with a move to where it is released; the value placed by a click
// right after (no further move), or the construction finished by the release,
// is the fit of the points highlighted when the mouse was released, and a
// recalculation of the same data changes nothing.
void ContourValuesTest::valueIsTheFitOfTheStretchHighlightedAtRelease()
{
    QFETCH(QString, actionName);
    QFETCH(QString, buttonName);
    QFETCH(QVector<QPoint>, drags);
    QFETCH(bool, placed);
    QFETCH(Expected, expected);
    changeSettings([](AppSettings& settings) { settings.preferenses.inscribed_circle_radius_measurement = 2; });
    WorkspaceScene scene({traceThrough(noisyArc())});
    MessageBoxAnswerer answerer;
    acceptDialogs(answerer);
    scene.choose(actionName, buttonName);
    const QCPCurve* trace = scene.plot()->curve(0);
    HighlightProbe probe(scene.plot()->curve(0));

    Points fitted;
    int first = trace->dataCount();
    int last = 0;
    for (const QPoint& drag : drags) {
        scene.drag(pointOf(trace, drag.x()), pointOf(trace, drag.y()));
        const QCPDataRange stretch = probe.last();
        QCOMPARE(stretch.begin(), std::min(drag.x(), drag.y()));
        QCOMPARE(stretch.end(), std::max(drag.x(), drag.y()));
        fitted += pointsOf(trace, stretch.begin(), stretch.end());
        first = std::min(first, stretch.begin());
        last = std::max(last, stretch.end());
    }
    if (placed) {
        const QPointF released = pointOf(trace, drags.last().y());
        scene.clickAt(released.x(), released.y());
    }
    Measurement* m = scene.manager()->measurements().last();
    QVERIFY(m->isFinished());
    QCOMPARE(scene.row(m->id())->text(1), m->valueText());

    const reference::Circle independent = reference::circleFit(fitted);
    switch (expected) {
    case Expected::Radius: {
        const reference::Circle drawn = drawnCircle(m);
        QVERIFY2(near(drawn.centre, independent.centre, 1e-4), qPrintable(m->valueText()));
        QVERIFY(std::abs(drawn.radius - independent.radius) < 1e-4);
        QCOMPARE(m->value(), drawn.radius);
        break;
    }
    case Expected::Circle: {
        const reference::Circle drawn = drawnCircle(m);
        QVERIFY(near(drawn.centre, independent.centre, 1e-4));
        QVERIFY(std::abs(drawn.radius - independent.radius) < 1e-4);
        QCOMPARE(m->reperPoints().first()->position(), drawn.centre);
        break;
    }
    case Expected::GivenRadius: {
        // Pushed along y until it just clears every highlighted point.
        const reference::Circle drawn = drawnCircle(m);
        QCOMPARE(drawn.radius, 2.0);
        const QVector<double> inside = reference::radialDeviations(fitted, drawn);
        const double deepest = *std::max_element(inside.begin(), inside.end());
        QVERIFY2(deepest <= 0 && deepest > -1e-4, qPrintable(QString::number(deepest)));
        break;
    }
    case Expected::LineDeviation: {
        const double spread = reference::spread(reference::residuals(fitted, reference::lineFit(fitted)));
        QVERIFY2(std::abs(m->value() - spread) <= 1e-9 * spread,
                 qPrintable(QStringLiteral("%1 against %2").arg(m->value()).arg(spread)));
        break;
    }
    case Expected::CircleDeviation: {
        const reference::Circle drawn = drawnCircle(m);
        QVERIFY(near(drawn.centre, independent.centre, 1e-4));
        const double spread = reference::spread(reference::radialDeviations(pointsOf(trace, first, last), drawn));
        QVERIFY2(std::abs(m->value() - spread) <= 1e-9 * spread,
                 qPrintable(QStringLiteral("%1 against %2").arg(m->value()).arg(spread)));
        break;
    }
    }

    const QString text = m->valueText();
    const double value = m->value();
    const reference::Circle circle = expected == Expected::LineDeviation ? reference::Circle() : drawnCircle(m);
    scene.widget->recalcAllMeasurements();
    QCOMPARE(m->valueText(), text);
    QCOMPARE(m->value(), value);
    if (expected != Expected::LineDeviation) {
        QCOMPARE(drawnCircle(m).centre, circle.centre);
        QCOMPARE(drawnCircle(m).radius, circle.radius);
    }
}

// The angle's lines are fitted again when the curves are rescaled while it is
// being placed: the vertex and the opening follow the data.
void ContourValuesTest::openAngleFitsAgainAfterUnitChange()
{
    WorkspaceScene scene({traceThrough(vee())});
    scene.choose(QStringLiteral("actionAngle"), QStringLiteral("pushButtonDirectAngle"));
    const QCPCurve* trace = scene.plot()->curve(0);
    scene.drag(pointOf(trace, 20), pointOf(trace, 120));
    scene.drag(pointOf(trace, 180), pointOf(trace, 280));
    scene.move(scene.pixel(3, 1.5));
    Measurement* angle = scene.manager()->measurements().last();
    QVERIFY(!angle->isFinished());
    QVERIFY(std::abs(angle->value() - 60) < 1e-3);
    QVERIFY(near(angle->reperPoints().first()->position(), QPointF(3, 0), 1e-9));

    for (int unit : {1, 0}) {
        scene.switchUnit(unit);
        const double scale = unit == 1 ? 1000 : 1;
        QVERIFY2(std::abs(angle->value() - 60) < 1e-3, qPrintable(angle->valueText()));
        QVERIFY(sameUpTo(angle->reperPoints().first()->position(), QPointF(3 * scale, 0), 1e-12));
    }
    scene.switchUnit(1);
    scene.clickAt(3000, 1500);
    QVERIFY(angle->isFinished());
    QVERIFY2(std::abs(angle->value() - 60) < 1e-3, qPrintable(angle->valueText()));
    QVERIFY(sameUpTo(angle->reperPoints().first()->position(), QPointF(3000, 0), 1e-12));
}

// The mean diameter, the intersection points, an equidistant and a text keep
// their place on the rescaled curves, so that a distance snapped between two
// intersections reads the same length in every unit; back in millimetres
// everything is where it was.
void ContourValuesTest::placedGeometryFollowsUnitChanges()
{
    const ThreadProfile thread{1000, 400, 200, 200, 200, 0};
    WorkspaceScene scene({traceThrough(thread.sampled(0, 5, 1201))});
    MessageBoxAnswerer answerer;
    answerer.onDialog([](QWidget* dialog) {
        auto* input = qobject_cast<QInputDialog*>(dialog);
        if (input && input->inputMode() == QInputDialog::TextInput)
            input->setTextValue(QStringLiteral("A"));
        else if (input)
            input->setDoubleValue(0.5);
        static_cast<QDialog*>(dialog)->accept();
    });
    const QString lines = QStringLiteral("actionLineAdditionalGeometry");

    scene.choose(lines, QStringLiteral("pushButtonAddGeomThread"));
    scene.clickAt(2.5, thread.height(2500) / 1000);
    auto* meanLine = dynamic_cast<Thread*>(scene.manager()->measurements().last());
    QVERIFY(meanLine && meanLine->isFinished());
    const QVector<double> mean = meanLine->lineCoefficients();

    // Verticals through two crests: each crosses the mean line away from the
    // trace.
    QList<Measurement*> verticals;
    for (double x : {1.7, 3.7}) {
        scene.choose(lines, QStringLiteral("pushButtonAddGeomVerticlaLine"));
        scene.clickAt(x, 0.2);
        verticals << scene.manager()->measurements().last();
        QCOMPARE(verticals.last()->reperPoints().size(), 1);
    }
    const QPointF a = verticals[0]->reperPoints().first()->position();
    const QPointF b = verticals[1]->reperPoints().first()->position();
    QCOMPARE(a.y(), mean[0] * a.x() + mean[1]);

    const QPointF above = (a + b) / 2 + QPointF(0, 0.3);
    Measurement* distance = scene.placeDistance(QStringLiteral("pushButtonDirectDistance"), a, b, above);
    QVERIFY(distance->isFinished());
    const double length = QLineF(a, b).length();
    QVERIFY2(std::abs(distance->value() - length) < 1e-6, qPrintable(distance->valueText()));

    answerer.chooseMenuEntry(QStringLiteral("Эквидистанта"));
    scene.rightClick(scene.row(verticals[0]->id()));
    auto* equidistant = scene.manager()->measurements().last();
    QCOMPARE(dynamic_cast<LinePrimitive*>(equidistant)->lineCoefficients(), (QVector<double>{0, a.x() + 0.5}));
    QCOMPARE(equidistant->reperPoints().size(), 1);
    const QPointF c = equidistant->reperPoints().first()->position();

    scene.choose(lines, QStringLiteral("pushButtonAddGeomText"));
    scene.clickAt(2, 0.5);
    auto* text = dynamic_cast<AgTextPlacement*>(scene.manager()->measurements().last());
    QVERIFY(text && text->isFinished());
    const QPointF textAt = text->textItem()->position->coords();

    for (int unit : {1, 2, 0}) {
        scene.switchUnit(unit);
        const double scale = unit == 0 ? 1 : unit == 1 ? 1000 : 1000000;
        const QVector<double> scaledMean = meanLine->lineCoefficients();
        QCOMPARE(scaledMean[0], mean[0]);
        QVERIFY(std::abs(scaledMean[1] - mean[1] * scale) <= 1e-12 * scale);
        const QPointF scaledA = verticals[0]->reperPoints().first()->position();
        QVERIFY(sameUpTo(scaledA, a * scale, 1e-12));
        QVERIFY(sameUpTo(verticals[1]->reperPoints().first()->position(), b * scale, 1e-12));
        QVERIFY(sameUpTo(equidistant->reperPoints().first()->position(), c * scale, 1e-12));
        // Still on both of their lines.
        QVERIFY(std::abs(scaledA.y() - (scaledMean[0] * scaledA.x() + scaledMean[1])) <= 1e-9 * scale);
        QVERIFY(std::abs(scaledA.x() - dynamic_cast<LinePrimitive*>(verticals[0])->lineCoefficients()[1])
                <= 1e-9 * scale);
        QVERIFY(std::abs(dynamic_cast<LinePrimitive*>(equidistant)->lineCoefficients()[1] - (a.x() + 0.5) * scale)
                <= 1e-9 * scale);
        QVERIFY2(std::abs(distance->value() - length * scale) < 1e-6 * scale, qPrintable(distance->valueText()));
        QVERIFY(sameUpTo(text->textItem()->position->coords(), textAt * scale, 1e-12));
    }
}

void ContourValuesTest::valueNotComputedShowsNoNumber_data()
{
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("buttonName");
    // The trace points the stretch is dragged between.
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("reason");

    // 1.4 mm of the arc's top against twice 0.8 mm.
    QTest::newRow("roughness of a stretch shorter than twice the cut-off")
        << "actionR" << "pushButtonCalculateRA" << 40 << 129 << "участок короче двух длин отсечки 0.8 мм";
    // Less than 0.3 mm against one and a half windows of 0.25 mm.
    QTest::newRow("filtered deviation of a stretch too short for a median")
        << "actionErrors" << "pushButtonRadiusErrorFilter" << 40 << 59
        << "участок короче, чем нужно для медианы по 0.25 мм";
    QTest::newRow("deviation from a drawing abandoned before its fit")
        << "actionDXF" << "pushButtonErrorPlane" << 40 << 140 << "сначала импортируйте чертёж";
}

// The tree, the label, the category's mean and the report show no number, and
// the status line says why, also once the value is placed.
void ContourValuesTest::valueNotComputedShowsNoNumber()
{
    QFETCH(QString, actionName);
    QFETCH(QString, buttonName);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, reason);
    WorkspaceScene scene({traceThrough(noisyArc())});
    const QCPCurve* trace = scene.plot()->curve(0);
    // The deviation chosen while the imported drawing waits for its fit
    // abandons the drawing: there is none to measure against.
    if (buttonName == QStringLiteral("pushButtonErrorPlane"))
        scene.importOneLineDrawing(pointOf(trace, 100));
    scene.choose(actionName, buttonName);
    scene.drag(pointOf(trace, from), pointOf(trace, to));
    Measurement* m = scene.manager()->measurements().last();
    QVERIFY(m->isValueNotComputed());
    const QPointF place = pointOf(trace, to) - QPointF(0, 0.3);
    scene.clickAt(place.x(), place.y());
    QVERIFY(m->isFinished());

    QVERIFY(m->isValueNotComputed());
    QCOMPARE(m->notComputedReason(), reason);
    QCOMPARE(scene.statusLine(), m->name() + QStringLiteral(": ") + reason);
    QCOMPARE(m->valueText(), QStringLiteral("—"));
    QTreeWidgetItem* row = scene.row(m->id());
    QCOMPARE(row->text(1), QStringLiteral("—"));
    QCOMPARE(row->parent()->text(1), QStringLiteral("—"));
    QCOMPARE(shownLabels(scene, m), QStringList());

    const nlohmann::json report = contourReportJson({}, {}, scene.tree()->collectItems());
    const std::string dump = report.dump();
    QVERIFY2(dump.find("—") != std::string::npos, dump.c_str());
    QVERIFY2(dump.find("0.0000") == std::string::npos, dump.c_str());
}

void ContourValuesTest::valuesFromStretchesKeepTheirSizeInEveryUnit_data()
{
    QTest::addColumn<Contour>("contour");
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("buttonName");
    // Pairs of trace point indexes: each stretch dragged from one to the other.
    QTest::addColumn<QVector<QPoint>>("drags");
    QTest::addColumn<bool>("placed");
    QTest::addColumn<Quantity>("quantity");
    // How far the results may differ, relative to the largest of them.
    QTest::addColumn<double>("relative");

    const QString errors = QStringLiteral("actionErrors");
    const QString circles = QStringLiteral("actionCircumferenceAdditionalGeometry");
    // The windows of the filtered kinds' running medians end on sampled points.
    const QVector<QPoint> arc{{134, 1266}};
    const QVector<QPoint> twoArcs{{134, 1266}, {1296, 1390}};
    const auto row = [](const char* name, Contour contour, const QString& action, const char* button,
                        const QVector<QPoint>& drags, bool placed, Quantity quantity, double relative = 1e-9) {
        QTest::newRow(name) << contour << action << QString::fromLatin1(button) << drags << placed << quantity
                            << relative;
    };
    // 0.4 ... 7.7 mm of the surface: the filter's bounds and the sampling
    // lengths fall on sampled points.
    row("Ra", Contour::Surface, QStringLiteral("actionR"), "pushButtonCalculateRA", {{201, 3849}}, true,
        Quantity::Micrometres);
    row("Rz", Contour::Surface, QStringLiteral("actionR"), "pushButtonCalculateRZ", {{201, 3849}}, true,
        Quantity::Micrometres);
    row("deviation from a line", Contour::Surface, errors, "pushButtonRMSE", {{500, 1500}}, true, Quantity::Length);
    // The difference of the two levels is taken in single precision.
    row("mean height", Contour::Vee, QStringLiteral("actionDistance"), "pushButtonMeanHeight", {{20, 60}, {200, 260}},
        true, Quantity::Length, 1e-7);
    row("angle", Contour::Vee, QStringLiteral("actionAngle"), "pushButtonDirectAngle", {{20, 120}, {180, 280}}, true,
        Quantity::Angle);
    row("angle to the horizontal", Contour::Vee, QStringLiteral("actionAngle"), "pushButtonHHorizonAngle",
        {{20, 120}}, true, Quantity::Angle);
    row("angle to the vertical", Contour::Vee, QStringLiteral("actionAngle"), "pushButtonVHorizonAngle",
        {{180, 280}}, true, Quantity::Angle);
    row("radius", Contour::Arc, QStringLiteral("actionRadius"), "pushButtonRadius", arc, true, Quantity::Length);
    row("radius of two arcs", Contour::Arc, QStringLiteral("actionRadius"), "pushButtonMultiRadius", twoArcs, true,
        Quantity::Length);
    row("circle", Contour::Arc, circles, "pushButtonCircumSelect", arc, false, Quantity::ConstructedCircle);
    row("circle of a given radius", Contour::Arc, circles, "pushButtonAGCircumSpecified", arc, false,
        Quantity::ConstructedCircle);
    row("deviation from a circle", Contour::Arc, errors, "pushButtonRadiusError", arc, true, Quantity::Length);
    row("deviation from a circle of a given radius", Contour::Arc, errors, "pushButtonRDESpecified", arc, true,
        Quantity::Length);
    row("filtered deviation from a circle", Contour::Arc, errors, "pushButtonRadiusErrorFilter", arc, true,
        Quantity::Length);
    row("deviation from a circle over two stretches", Contour::Arc, errors, "pushButtonRadiusErrorByTwoSegment",
        twoArcs, true, Quantity::Length);
    row("filtered deviation from a circle over two stretches", Contour::Arc, errors,
        "pushButtonRadiusErrorFilterMultypleSegments", twoArcs, true, Quantity::Length);
}

// Placed with the axes in millimetres, a value from stretches of the trace
// reads the same size with the axes in micrometres, in nanometres and in
// millimetres again: only the number of its unit changes.
void ContourValuesTest::valuesFromStretchesKeepTheirSizeInEveryUnit()
{
    QFETCH(Contour, contour);
    QFETCH(QString, actionName);
    QFETCH(QString, buttonName);
    QFETCH(QVector<QPoint>, drags);
    QFETCH(bool, placed);
    QFETCH(Quantity, quantity);
    QFETCH(double, relative);
    changeSettings([](AppSettings& settings) { settings.preferenses.inscribed_circle_radius_measurement = 2; });
    setAxisUnit(0);
    WorkspaceScene scene({traceThrough(contourPoints(contour))});
    MessageBoxAnswerer answerer;
    acceptDialogs(answerer);
    scene.choose(actionName, buttonName);
    const QCPCurve* trace = scene.plot()->curve(0);
    for (const QPoint& drag : drags)
        scene.drag(pointOf(trace, drag.x()), pointOf(trace, drag.y()));
    if (placed) {
        const QPointF released = pointOf(trace, drags.last().y());
        scene.clickAt(released.x(), released.y());
    }
    Measurement* m = scene.manager()->measurements().last();
    QVERIFY(m->isFinished());
    QVERIFY2(!m->isValueNotComputed(), qPrintable(m->notComputedReason()));
    const QVector<double> placedResult = resultOf(m, quantity, 0);
    double largest = 0;
    for (double r : placedResult)
        largest = std::max(largest, std::abs(r));

    for (int unit : {1, 2, 0}) {
        scene.switchUnit(unit);
        QVERIFY2(!m->isValueNotComputed(), qPrintable(m->notComputedReason()));
        QCOMPARE(scene.row(m->id())->text(1), m->valueText());
        const QVector<double> result = resultOf(m, quantity, unit);
        for (int i = 0; i < result.size(); ++i) {
            KALVORA_COMPARE_NEAR_AT(result[i], placedResult[i], relative * largest,
                                    QStringLiteral("unit %1, %2").arg(unit).arg(m->valueText()));
        }
    }
}

void ContourValuesTest::levelledContourStaysLevelInEveryUnit_data()
{
    QTest::addColumn<QVector<Levelling>>("levellings");
    const QString byOne = QStringLiteral("pushButtonlayFlat");
    const QString byTwo = QStringLiteral("pushButtonLayFlatByTwo");
    QTest::newRow("lay-flat") << QVector<Levelling>{{byOne, {kLowFlat}}};
    QTest::newRow("lay-flat by two")
        << QVector<Levelling>{{byTwo, {{kLowFlat.x(), 150}, {250, kLowFlat.y()}}}};
    // Levelled on the rise by mistake, then on the low flat.
    QTest::newRow("levelled twice") << QVector<Levelling>{{byOne, {kRise}}, {byOne, {kLowFlat}}};
}

// The contour levelled with the axes in millimetres is the same levelled
// contour in micrometres, nanometres and millimetres again, and the height of
// the step placed on it keeps its size; the reset shows the tilted trace in
// the unit then shown.
void ContourValuesTest::levelledContourStaysLevelInEveryUnit()
{
    QFETCH(QVector<Levelling>, levellings);
    setAxisUnit(0);
    const Points trace = tiltedStep();
    WorkspaceScene scene({traceThrough(trace)});
    const QCPCurve* curve = scene.plot()->curve(0);
    for (const Levelling& levelling : levellings) {
        scene.choose(QStringLiteral("actionLayFlat"), levelling.button);
        for (const QPoint& drag : levelling.drags)
            scene.drag(pointOf(curve, drag.x()), pointOf(curve, drag.y()));
    }
    const Points levelled = pointsOf(curve, 0, curve->dataCount());
    const Points lowFlat = pointsOf(curve, kLowFlat.x(), kLowFlat.y());
    // Level to a nanometre: the angles pass through single precision.
    QVERIFY(std::abs(lowFlat.last().y() - lowFlat.first().y()) < 1e-6);

    const QPointF low = pointOf(curve, 200);
    const QPointF high = pointOf(curve, 800);
    Measurement* height = scene.placeDistance(QStringLiteral("pushButtonVerticalDistance"), low, high,
                                              QPointF(6, (low.y() + high.y()) / 2));
    QVERIFY(height->isFinished());
    KALVORA_COMPARE_NEAR(height->value(), 2.0, 1e-6);
    const double placedHeight = height->value();

    // 1e-9 of the contour's 10 mm.
    const double tolerance = 1e-8;
    for (int unit : {1, 2, 0}) {
        scene.switchUnit(unit);
        const double scale = MeasurementMath::unitsPerMillimetre(unit).value();
        const Points shown = pointsOf(curve, 0, curve->dataCount());
        QCOMPARE(shown.size(), levelled.size());
        for (int i = 0; i < shown.size(); ++i) {
            QVERIFY2(near(shown[i] / scale, levelled[i], tolerance),
                     qPrintable(QStringLiteral("unit %1, point %2").arg(unit).arg(i)));
        }
        // The height of two points is taken from their coordinates in single
        // precision: a float step or two of coordinates up to 6 mm.
        KALVORA_COMPARE_NEAR_AT(height->value() / scale, placedHeight, 1e-6 * placedHeight, height->valueText());
        QCOMPARE(scene.row(height->id())->text(1), height->valueText());
    }

    scene.switchUnit(1);
    scene.choose(QStringLiteral("actionLayFlat"), QStringLiteral("pushButtonRST"));
    QCOMPARE(pointsOf(curve, 0, curve->dataCount()), trace);
    // Between the tilted flats, give or take the 0.35 um rise of a
    // neighbouring point the click may have snapped to.
    KALVORA_COMPARE_NEAR(height->value(), trace[800].y() - trace[200].y(), 1);
}

KALVORA_TEST_MAIN(ContourValuesTest)
#include "ContourValuesTest.moc"
