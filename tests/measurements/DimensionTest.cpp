#include "measurements/math/Dimension.h"

#include "FuzzyCompare.h"
#include "TestMain.h"

using MeasurementMath::Dimension;
using MeasurementMath::kAnchoredAtBottom;
using MeasurementMath::kAnchoredAtTop;

Q_DECLARE_METATYPE(QLineF)

class DimensionTest : public QObject
{
    Q_OBJECT
private slots:
    void straight_data();
    void straight();
    void straightLabelFollowsTheLine_data();
    void straightLabelFollowsTheLine();
    void horizontalAndVertical_data();
    void horizontalAndVertical();
};

void DimensionTest::straight_data()
{
    QTest::addColumn<QPointF>("a");
    QTest::addColumn<QPointF>("b");
    QTest::addColumn<QPointF>("cursor");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QLineF>("dimensionLine");

    // The line from (0, 0) to (3, 4) has the unit normal (-0.8, 0.6); the
    // cursor (0, 5) lies 3 along it, (5, 0) 4 against it.
    QTest::newRow("cursor above") << QPointF(0, 0) << QPointF(3, 4) << QPointF(0, 5) << 5.0 << kAnchoredAtBottom
                                  << QLineF(-2.4, 1.8, 0.6, 5.8);
    QTest::newRow("cursor below") << QPointF(0, 0) << QPointF(3, 4) << QPointF(5, 0) << 5.0 << kAnchoredAtTop
                                  << QLineF(3.2, -2.4, 6.2, 1.6);
    QTest::newRow("cursor on the line") << QPointF(0, 0) << QPointF(3, 4) << QPointF(6, 8) << 5.0
                                        << kAnchoredAtBottom << QLineF(0, 0, 3, 4);
    QTest::newRow("micrometre coordinates") << QPointF(1000, 2000) << QPointF(4000, 6000) << QPointF(1000, 7000)
                                            << 5000.0 << kAnchoredAtBottom << QLineF(-1400, 3800, 1600, 7800);
    // No normal: the extension lines have no length and the dimension line
    // lies on the points.
    QTest::newRow("equal points") << QPointF(2, 2) << QPointF(2, 2) << QPointF(7, 9) << 0.0 << kAnchoredAtBottom
                                  << QLineF(2, 2, 2, 2);
}

void DimensionTest::straight()
{
    QFETCH(QPointF, a);
    QFETCH(QPointF, b);
    QFETCH(QPointF, cursor);
    QFETCH(double, value);
    QFETCH(int, alignment);
    QFETCH(QLineF, dimensionLine);

    const Dimension d = MeasurementMath::straightDimension(a, b, cursor);
    const double tolerance = 1e-6 * std::max(1.0, value);
    KALVORA_COMPARE_NEAR(d.value, value, tolerance);
    QCOMPARE(d.alignment, alignment);
    KALVORA_COMPARE_NEAR(d.dimensionLine.x1(), dimensionLine.x1(), tolerance);
    KALVORA_COMPARE_NEAR(d.dimensionLine.y1(), dimensionLine.y1(), tolerance);
    KALVORA_COMPARE_NEAR(d.dimensionLine.x2(), dimensionLine.x2(), tolerance);
    KALVORA_COMPARE_NEAR(d.dimensionLine.y2(), dimensionLine.y2(), tolerance);
    QCOMPARE(d.extension1.p1(), a);
    QCOMPARE(d.extension2.p1(), b);
    QCOMPARE(d.extension1.p2(), d.dimensionLine.p1());
    QCOMPARE(d.extension2.p2(), d.dimensionLine.p2());
    QCOMPARE(d.labelPosition, d.dimensionLine.center());
}

// The label turns with the line the way QLineF measures angles in plot
// coordinates, whichever side the cursor is on.
void DimensionTest::straightLabelFollowsTheLine_data()
{
    QTest::addColumn<QPointF>("b");
    QTest::addColumn<QPointF>("cursor");
    QTest::addColumn<double>("rotation");

    QTest::newRow("level") << QPointF(4, 0) << QPointF(2, 1) << 0.0;
    QTest::newRow("rising, cursor above") << QPointF(1, 1) << QPointF(0, 1) << 315.0;
    QTest::newRow("rising, cursor below") << QPointF(1, 1) << QPointF(1, 0) << 315.0;
    QTest::newRow("falling") << QPointF(1, -1) << QPointF(1, 1) << 45.0;
}

void DimensionTest::straightLabelFollowsTheLine()
{
    QFETCH(QPointF, b);
    QFETCH(QPointF, cursor);
    QFETCH(double, rotation);
    KALVORA_COMPARE_NEAR(MeasurementMath::straightDimension(QPointF(0, 0), b, cursor).labelRotation, rotation, 1e-4);
}

void DimensionTest::horizontalAndVertical_data()
{
    QTest::addColumn<QPointF>("cursor");
    QTest::addColumn<int>("horizontalAlignment");
    QTest::addColumn<int>("verticalAlignment");

    QTest::newRow("right of and above both") << QPointF(9, 9) << kAnchoredAtBottom << kAnchoredAtBottom;
    QTest::newRow("left of and below both") << QPointF(-3, -1) << kAnchoredAtTop << kAnchoredAtTop;
    QTest::newRow("between the points") << QPointF(2.5, 4.5) << kAnchoredAtBottom << kAnchoredAtBottom;
    QTest::newRow("level with the left point") << QPointF(1, 2) << kAnchoredAtTop << kAnchoredAtBottom;
}

// (1, 2) and (4, 7): 3 across and 5 up, wherever the cursor is; the
// dimension line goes through the cursor.
void DimensionTest::horizontalAndVertical()
{
    QFETCH(QPointF, cursor);
    QFETCH(int, horizontalAlignment);
    QFETCH(int, verticalAlignment);
    const QPointF a(1, 2);
    const QPointF b(4, 7);

    const Dimension h = MeasurementMath::horizontalDimension(a, b, cursor);
    QCOMPARE(h.value, 3.0);
    QCOMPARE(h.alignment, horizontalAlignment);
    QCOMPARE(h.dimensionLine, QLineF(1, cursor.y(), 4, cursor.y()));
    QCOMPARE(h.extension1, QLineF(a, QPointF(1, cursor.y())));
    QCOMPARE(h.extension2, QLineF(b, QPointF(4, cursor.y())));
    QCOMPARE(h.labelPosition, QPointF(2.5, cursor.y()));
    QCOMPARE(h.labelRotation, 0.0);

    const Dimension v = MeasurementMath::verticalDimension(a, b, cursor);
    QCOMPARE(v.value, 5.0);
    QCOMPARE(v.alignment, verticalAlignment);
    QCOMPARE(v.dimensionLine, QLineF(cursor.x(), 2, cursor.x(), 7));
    QCOMPARE(v.extension1, QLineF(a, QPointF(cursor.x(), 2)));
    QCOMPARE(v.extension2, QLineF(b, QPointF(cursor.x(), 7)));
    QCOMPARE(v.labelPosition, QPointF(cursor.x(), 4.5));
    QCOMPARE(v.labelRotation, 90.0);
}

KALVORA_TEST_MAIN(DimensionTest)
#include "DimensionTest.moc"
