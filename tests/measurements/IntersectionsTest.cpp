#include "ProbeMeasurement.h"

#include "measurements/CirclePrimitive.h"
#include "measurements/LinePrimitive.h"
#include "measurements/MeasurementIntersections.h"
#include "measurements/math/Intersections.h"

#include "FuzzyCompare.h"
#include "TestMain.h"

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

using namespace MeasurementMath;

using Points = QList<QPointF>;
using Routine = std::function<Points()>;
Q_DECLARE_METATYPE(Routine)

namespace {

const double notANumber = std::numeric_limits<double>::quiet_NaN();

Circle circle(double x, double y, double r)
{
    return {QPointF(x, y), r};
}

// A construction measurement standing for a circle.
class CircleProbe : public ProbeMeasurement, public CirclePrimitive
{
public:
    explicit CircleProbe(const Circle& circle)
        : ProbeMeasurement(nullptr, 0, CIRCLE)
        , m_circle(circle)
    {
    }
    QString name() const override { return QStringLiteral("Окружность"); }
    Circle circle() const override { return m_circle; }

private:
    Circle m_circle;
};

// A construction measurement standing for a line, under the name of its kind.
class LineProbe : public ProbeMeasurement, public LinePrimitive
{
public:
    LineProbe(E_MEASUREMENTS kind, const QVector<double>& coefficients)
        : ProbeMeasurement(nullptr, 0, kind)
        , m_coefficients(coefficients)
    {
    }
    QString name() const override { return measurementKind(type())->name; }
    QVector<double> lineCoefficients() const override { return m_coefficients; }

private:
    QVector<double> m_coefficients;
};

// Named like a circle without offering one.
class NamedCircleProbe : public ProbeMeasurement
{
public:
    NamedCircleProbe()
        : ProbeMeasurement(nullptr)
    {
    }
    QString name() const override { return QStringLiteral("Окружность"); }
};

constexpr double kTolerance = 1e-12;

bool allFinite(const Points& points)
{
    for (const QPointF& p : points) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            return false;
    }
    return true;
}

} // namespace

class IntersectionsTest : public QObject
{
    Q_OBJECT
private slots:
    void geometry_data();
    void geometry();
    void measurements_data();
    void measurements();

private:
    void comparePoints(const Points& points, const Points& expected);
};

void IntersectionsTest::geometry_data()
{
    QTest::addColumn<Routine>("routine");
    QTest::addColumn<Points>("expected");

    const double root3 = 1.7320508075688772;
    QTest::newRow("circles touching outside")
        << Routine([] { return intersectCircles(circle(0, 0, 1), circle(2, 0, 1)); }) << Points{{1, 0}};
    QTest::newRow("circles crossing")
        << Routine([] { return intersectCircles(circle(0, 0, 2), circle(2, 0, 2)); })
        << Points{{1, -root3}, {1, root3}};
    QTest::newRow("circles touching inside: the point twice")
        << Routine([] { return intersectCircles(circle(0, 0, 1), circle(2, 0, 3)); }) << Points{{-1, 0}, {-1, 0}};
    QTest::newRow("concentric equal circles")
        << Routine([] { return intersectCircles(circle(1, 1, 2), circle(1, 1, 2)); }) << Points{};
    QTest::newRow("one circle inside the other")
        << Routine([] { return intersectCircles(circle(0, 0, 5), circle(1, 0, 1)); }) << Points{};
    QTest::newRow("circles apart")
        << Routine([] { return intersectCircles(circle(0, 0, 1), circle(5, 0, 1)); }) << Points{};
    // d falls one ulp short of r1 + r2 and the square root's argument comes out
    // at -4.4e-16: the touching point, not a point that is not a number.
    QTest::newRow("circles touching, round-off below zero")
        << Routine([] { return intersectCircles(circle(1.5, -0.7, 1.77), circle(4.52, -0.7, 1.25)); })
        << Points{{3.27, -0.7}, {3.27, -0.7}};
    QTest::newRow("circle of radius not a number")
        << Routine([] { return intersectCircles(circle(0, 0, notANumber), circle(1, 0, 1)); }) << Points{};
    QTest::newRow("circle of radius 0 on the other's rim")
        << Routine([] { return intersectCircles(circle(1, 0, 0), circle(0, 0, 1)); }) << Points{};
    QTest::newRow("circle with a centre not a number")
        << Routine([] { return intersectCircles(circle(notANumber, 0, 1), circle(1, 0, 1)); }) << Points{};

    QTest::newRow("vertical line touching a circle: none")
        << Routine([] { return intersectVerticalWithCircle({1}, circle(0, 0, 1)); }) << Points{};
    QTest::newRow("vertical line through a circle: upper point first")
        << Routine([] { return intersectVerticalWithCircle({0.5}, circle(0, 0, 1)); })
        << Points{{0.5, 0.8660254037844386}, {0.5, -0.8660254037844386}};
    QTest::newRow("vertical line beside a circle")
        << Routine([] { return intersectVerticalWithCircle({-3}, circle(0, 0, 1)); }) << Points{};

    QTest::newRow("horizontal line touching a circle: one point")
        << Routine([] { return intersectSlopedWithCircle({0, 1}, circle(0, 0, 1)); }) << Points{{0, 1}};
    QTest::newRow("sloped line through a circle: lower x first")
        << Routine([] { return intersectSlopedWithCircle({1, 0}, circle(0, 0, std::sqrt(2.0))); })
        << Points{{-1, -1}, {1, 1}};
    QTest::newRow("sloped line missing a circle")
        << Routine([] { return intersectSlopedWithCircle({0, 3}, circle(0, 0, 1)); }) << Points{};
    // The discriminant comes out at -1.4e-14 for this tangent.
    QTest::newRow("sloped line touching, round-off below zero")
        << Routine([] {
               return intersectSlopedWithCircle({2.0, -5.7819660112501055}, circle(1.3, -4.3, 0.5));
           })
        << Points{{1.3 - 1.0 / std::sqrt(5.0), -4.3 + 0.5 / std::sqrt(5.0)}};
    QTest::newRow("sloped line and a circle of radius not a number")
        << Routine([] { return intersectSlopedWithCircle({0, 0}, circle(0, 0, notANumber)); }) << Points{};

    QTest::newRow("crossing sloped lines")
        << Routine([] { return intersectSlopedLines({1, 0}, {-1, 2}); }) << Points{{1, 1}};
    QTest::newRow("parallel sloped lines")
        << Routine([] { return intersectSlopedLines({2, 1}, {2, 3}); }) << Points{};
    QTest::newRow("vertical and sloped line")
        << Routine([] { return intersectVerticalWithSloped({3}, {2, 1}); }) << Points{{3, 7}};
    QTest::newRow("vertical line at x not a number")
        << Routine([] { return intersectVerticalWithSloped({notANumber}, {2, 1}); }) << Points{};
}

void IntersectionsTest::geometry()
{
    QFETCH(Routine, routine);
    QFETCH(Points, expected);
    const Points points = routine();
    QVERIFY(allFinite(points));
    comparePoints(points, expected);
}

void IntersectionsTest::comparePoints(const Points& points, const Points& expected)
{
    QCOMPARE(points.size(), expected.size());
    for (int i = 0; i < points.size(); ++i) {
        const QString where = QStringLiteral("point %1").arg(i);
        KALVORA_COMPARE_NEAR_AT(points.at(i).x(), expected.at(i).x(), kTolerance, where);
        KALVORA_COMPARE_NEAR_AT(points.at(i).y(), expected.at(i).y(), kTolerance, where);
    }
}

// The measurement routines find their primitives by name, in either order.
void IntersectionsTest::measurements_data()
{
    QTest::addColumn<Routine>("routine");
    QTest::addColumn<Points>("expected");

    using P = std::shared_ptr<Measurement>;
    const P unitCircle = std::make_shared<CircleProbe>(circle(0, 0, 1));
    const P wideCircle = std::make_shared<CircleProbe>(circle(2, 0, 1));
    const P vertical = std::make_shared<LineProbe>(VERTICAL_LINE, QVector<double>{0, 0.5});
    const P horizontal = std::make_shared<LineProbe>(HORIZONTAL_LINE, QVector<double>{0, 1});
    const P twoPoint = std::make_shared<LineProbe>(TWO_POINT_LINE, QVector<double>{1, 0});
    const P meanDiameter = std::make_shared<LineProbe>(THREAD_MEAN_DIAMETER, QVector<double>{-1, 2});
    const P impostor = std::make_shared<NamedCircleProbe>();
    const P shortLine = std::make_shared<LineProbe>(TWO_POINT_LINE, QVector<double>{1});

    const Points halfWay{{0.5, 0.8660254037844386}, {0.5, -0.8660254037844386}};
    QTest::newRow("circle, circle")
        << Routine([=] { return intersectCircleCircle(unitCircle.get(), wideCircle.get()); }) << Points{{1, 0}};
    QTest::newRow("vertical line, two-point line")
        << Routine([=] { return intersectLineLine(vertical.get(), twoPoint.get()); }) << Points{{0.5, 0.5}};
    QTest::newRow("two-point line, vertical line")
        << Routine([=] { return intersectLineLine(twoPoint.get(), vertical.get()); }) << Points{{0.5, 0.5}};
    QTest::newRow("horizontal line, vertical line")
        << Routine([=] { return intersectLineLine(horizontal.get(), vertical.get()); }) << Points{{0.5, 1}};
    QTest::newRow("circle, vertical line")
        << Routine([=] { return intersectLineCircle(unitCircle.get(), vertical.get()); }) << halfWay;
    QTest::newRow("vertical line, circle")
        << Routine([=] { return intersectLineCircle(vertical.get(), unitCircle.get()); }) << halfWay;
    QTest::newRow("horizontal line, circle")
        << Routine([=] { return intersectCircleLine(horizontal.get(), unitCircle.get()); }) << Points{{0, 1}};
    QTest::newRow("circle, horizontal line")
        << Routine([=] { return intersectCircleLine(unitCircle.get(), horizontal.get()); }) << Points{{0, 1}};
    QTest::newRow("two-point line, mean-diameter line")
        << Routine([=] { return intersectPointLines(twoPoint.get(), meanDiameter.get()); }) << Points{{1, 1}};
    QTest::newRow("named a circle without being one")
        << Routine([=] { return intersectLineCircle(impostor.get(), vertical.get()); }) << Points{};
    QTest::newRow("a line with one coefficient")
        << Routine([=] { return intersectPointLines(shortLine.get(), meanDiameter.get()); }) << Points{};
    QTest::newRow("no measurement")
        << Routine([=] { return intersectCircleLine(nullptr, unitCircle.get()); }) << Points{};
}

void IntersectionsTest::measurements()
{
    QFETCH(Routine, routine);
    QFETCH(Points, expected);
    comparePoints(routine(), expected);
}

KALVORA_TEST_MAIN(IntersectionsTest)
#include "IntersectionsTest.moc"
