#include "measurements/math/AngleGeometry.h"
#include "measurements/math/AngleTexts.h"

#include "FuzzyCompare.h"
#include "TestMain.h"

#include <cmath>
#include <limits>

using namespace MeasurementMath;

Q_DECLARE_METATYPE(MeasurementMath::FloatVector)
Q_DECLARE_METATYPE(MeasurementMath::SlopedLine)

namespace {

const double notANumber = std::numeric_limits<double>::quiet_NaN();

} // namespace

class AngleGeometryTest : public QObject
{
    Q_OBJECT
private slots:
    void angleAtCursor_data();
    void angleAtCursor();
    void drawingReachesCursor();
    void vertex_data();
    void vertex();
    void steepSlopeDirection();
    void texts_data();
    void texts();
    void nominal_data();
    void nominal();
};

void AngleGeometryTest::angleAtCursor_data()
{
    QTest::addColumn<QPointF>("vertex");
    QTest::addColumn<FloatVector>("first");
    QTest::addColumn<FloatVector>("second");
    QTest::addColumn<QPointF>("cursor");
    QTest::addColumn<double>("angle");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("span");

    const QPointF origin(0, 0);
    const FloatVector slope1 = directionOfSlope(1);
    const FloatVector slope0 = directionOfSlope(0);
    // Two lines of slopes 1 and 0 meeting at the origin.
    QTest::newRow("between both") << origin << slope1 << slope0 << QPointF(2, 1) << 45.0 << 720 << -720;
    QTest::newRow("second flips") << origin << slope1 << slope0 << QPointF(-1, 2) << 135.0 << 720 << 2160;
    QTest::newRow("both flip") << origin << slope1 << slope0 << QPointF(-2, -1) << 45.0 << 3600 << -720;
    QTest::newRow("swapped, between both") << origin << slope0 << slope1 << QPointF(2, 1) << 45.0 << 0 << 720;
    QTest::newRow("swapped, first flips") << origin << slope0 << slope1 << QPointF(-1, 2) << 135.0 << 2880 << -2160;

    // A line of slope 1 against the horizontal.
    const FloatVector horizontal = horizontalDirection();
    QTest::newRow("horizontal, above") << origin << slope1 << horizontal << QPointF(1, 2) << 45.0 << 720 << -720;
    QTest::newRow("horizontal, upper left") << origin << slope1 << horizontal << QPointF(-1, 2) << 135.0 << 720
                                            << 2160;
    QTest::newRow("horizontal, left") << origin << slope1 << horizontal << QPointF(-2, 1) << 45.0 << 3600 << -720;

    // A horizontal line against the vertical: a right angle wherever the
    // cursor is off the line.
    const FloatVector vertical = verticalDirection();
    const QPointF vertex(3, -4);
    QTest::newRow("vertical, upper right") << vertex << slope0 << vertical << QPointF(4, -2) << 90.0 << 0 << 1440;
    QTest::newRow("vertical, lower left") << vertex << slope0 << vertical << QPointF(0, -5) << 90.0 << 2880 << 1440;
    QTest::newRow("vertical, straight up") << vertex << slope0 << vertical << QPointF(3, 7) << 90.0 << 0 << 1440;

    // Perpendicular sloped lines meeting away from the origin.
    QTest::newRow("perpendicular slopes") << QPointF(3, 4) << directionOfSlope(-2) << directionOfSlope(0.5)
                                          << QPointF(5, 6) << 90.0 << 1865 << -1440;
}

void AngleGeometryTest::angleAtCursor()
{
    QFETCH(QPointF, vertex);
    QFETCH(FloatVector, first);
    QFETCH(FloatVector, second);
    QFETCH(QPointF, cursor);
    QFETCH(double, angle);
    QFETCH(int, start);
    QFETCH(int, span);

    const AngleDrawing drawing = drawAngle(vertex, first, second, cursor);
    KALVORA_COMPARE_NEAR(drawing.angle, angle, 1e-4);
    QVERIFY2(std::abs(drawing.startAngle - start) <= 1, qPrintable(QString::number(drawing.startAngle)));
    QVERIFY2(std::abs(drawing.spanAngle - span) <= 1, qPrintable(QString::number(drawing.spanAngle)));
}

// The arc runs through the cursor; the label stands at the cursor; the lines
// start 0.2 radius behind the vertex and end 1.1 radius beyond it, on the
// cursor's side.
void AngleGeometryTest::drawingReachesCursor()
{
    const QPointF vertex(1, 1);
    const QPointF cursor(-2, 5);
    const AngleDrawing drawing = drawAngle(vertex, directionOfSlope(1), horizontalDirection(), cursor);

    KALVORA_COMPARE_NEAR(drawing.radius, 5.0, 1e-6);
    KALVORA_COMPARE_NEAR(drawing.arcTopLeft.x(), -4.0, 1e-6);
    KALVORA_COMPARE_NEAR(drawing.arcTopLeft.y(), -4.0, 1e-6);
    KALVORA_COMPARE_NEAR(drawing.arcBottomRight.x(), 6.0, 1e-6);
    KALVORA_COMPARE_NEAR(drawing.arcBottomRight.y(), 6.0, 1e-6);
    QCOMPARE(drawing.labelPosition, cursor);

    const double diagonal = std::sqrt(0.5);
    KALVORA_COMPARE_NEAR(drawing.firstLine.x1(), 1 - 0.2 * 5 * diagonal, 1e-5);
    KALVORA_COMPARE_NEAR(drawing.firstLine.y1(), 1 - 0.2 * 5 * diagonal, 1e-5);
    KALVORA_COMPARE_NEAR(drawing.firstLine.x2(), 1 + 1.1 * 5 * diagonal, 1e-5);
    KALVORA_COMPARE_NEAR(drawing.firstLine.y2(), 1 + 1.1 * 5 * diagonal, 1e-5);
    // The horizontal turned toward the cursor, which lies to the left.
    KALVORA_COMPARE_NEAR(drawing.secondLine.x1(), 1 + 0.2 * 5, 1e-5);
    KALVORA_COMPARE_NEAR(drawing.secondLine.x2(), 1 - 1.1 * 5, 1e-5);
    KALVORA_COMPARE_NEAR(drawing.secondLine.y2(), 1.0, 1e-6);
}

void AngleGeometryTest::vertex_data()
{
    QTest::addColumn<SlopedLine>("first");
    QTest::addColumn<SlopedLine>("second");
    QTest::addColumn<bool>("meets");
    QTest::addColumn<QPointF>("point");

    QTest::newRow("crossing") << SlopedLine{-2, 10} << SlopedLine{0.5, 2.5} << true << QPointF(3, 4);
    QTest::newRow("parallel") << SlopedLine{1, 0} << SlopedLine{1, 2} << false << QPointF();
    QTest::newRow("one line twice") << SlopedLine{1, 2} << SlopedLine{1, 2} << false << QPointF();
    QTest::newRow("unfitted line") << SlopedLine{notANumber, notANumber} << SlopedLine{1, 2} << false << QPointF();
    QTest::newRow("nearly parallel, far away") << SlopedLine{1, 0} << SlopedLine{1 + 1e-15, 1e300} << false
                                               << QPointF();
}

void AngleGeometryTest::vertex()
{
    QFETCH(SlopedLine, first);
    QFETCH(SlopedLine, second);
    QFETCH(bool, meets);
    QFETCH(QPointF, point);

    const std::optional<QPointF> vertex = vertexOf(first, second);
    QCOMPARE(vertex.has_value(), meets);
    if (meets) {
        KALVORA_COMPARE_NEAR(vertex->x(), point.x(), 1e-12);
        KALVORA_COMPARE_NEAR(vertex->y(), point.y(), 1e-12);
    }
}

// A slope beyond the single-precision range is a vertical direction, not a
// direction that is not a number.
void AngleGeometryTest::steepSlopeDirection()
{
    const FloatVector up = directionOfSlope(1e300);
    QCOMPARE(up.x, 0.0f);
    QCOMPARE(up.y, 1.0f);
    const FloatVector down = directionOfSlope(-1e300);
    QCOMPARE(down.y, -1.0f);
    const AngleDrawing drawing = drawAngle(QPointF(0, 0), up, horizontalDirection(), QPointF(1, 1));
    KALVORA_COMPARE_NEAR(drawing.angle, 90.0, 1e-6);
}

void AngleGeometryTest::texts_data()
{
    QTest::addColumn<double>("angle");
    QTest::addColumn<QString>("degrees");
    QTest::addColumn<QString>("degreesMinutesSeconds");

    QTest::newRow("half degree") << 30.5 << "30.5000°"
                                 << "30° 30' 0''";
    QTest::newRow("seconds rounded down") << 12.3456 << "12.3456°"
                                          << "12° 20' 44''";
    QTest::newRow("just below 90") << 89.99999 << "90.0000°"
                                   << "89° 59' 59''";
    QTest::newRow("zero") << 0.0 << "0.0000°"
                          << "0° 0' 0''";
    QTest::newRow("straight") << 180.0 << "180.0000°"
                              << "180° 0' 0''";
}

void AngleGeometryTest::texts()
{
    QFETCH(double, angle);
    QFETCH(QString, degrees);
    QFETCH(QString, degreesMinutesSeconds);

    QCOMPARE(angleInDegreesText(angle), degrees);
    QCOMPARE(angleInDegreesMinutesSecondsText(angle), degreesMinutesSeconds);
}

void AngleGeometryTest::nominal_data()
{
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("nominal");

    QTest::newRow("0") << 0.0 << 0.0;
    QTest::newRow("10") << 10.0 << 45.0;
    QTest::newRow("67.9") << 67.9 << 45.0;
    QTest::newRow("68") << 68.0 << 90.0;
    QTest::newRow("112.9") << 112.9 << 90.0;
    QTest::newRow("113") << 113.0 << 135.0;
    QTest::newRow("157.9") << 157.9 << 135.0;
    QTest::newRow("158") << 158.0 << 180.0;
    QTest::newRow("180") << 180.0 << 180.0;
    QTest::newRow("tie between 45 and 90") << 67.5 << 45.0;
}

void AngleGeometryTest::nominal()
{
    QFETCH(double, angle);
    QFETCH(double, nominal);

    QCOMPARE(nearestNominalAngle(angle, {45, 90, 135, 180}), nominal);
}

KALVORA_TEST_MAIN(AngleGeometryTest)
#include "AngleGeometryTest.moc"
