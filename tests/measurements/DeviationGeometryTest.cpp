#include "ArcPoints.h"

#include "measurements/math/DeviationBand.h"
#include "measurements/math/DeviationCurve.h"
#include "measurements/math/ScaleTicks.h"

#include "CircleFit.h"

#include "FuzzyCompare.h"
#include "TestMain.h"

#include <cmath>
#include <limits>

using namespace MeasurementMath;

using Points = QVector<QPointF>;
using Ranges = QVector<IndexRange>;
Q_DECLARE_METATYPE(Ranges)

namespace {

// n points of y = slope x + intercept for x = 0 .. n - 1, the middle one
// raised by bump.
Points lineWithBump(int n, double slope, double intercept, double bump)
{
    Points points;
    for (int i = 0; i < n; ++i)
        points.append(QPointF(i, slope * i + intercept + (i == n / 2 ? bump : 0)));
    return points;
}

QVector<double> keysOf(const Points& points)
{
    QVector<double> keys;
    for (const QPointF& p : points)
        keys.append(p.x());
    return keys;
}

} // namespace

class DeviationGeometryTest : public QObject
{
    Q_OBJECT
private slots:
    void lineDeviation_data();
    void lineDeviation();
    void verticalStretchHasNoLine();
    void circleDeviationOfNoisyArc_data();
    void circleDeviationOfNoisyArc();
    void segmentsJoinThroughGaps_data();
    void segmentsJoinThroughGaps();
    void bandFollowsMouse_data();
    void bandFollowsMouse();
    void bandNeedsTwoPoints();
    void scaling_data();
    void scaling();
    void ticks_data();
    void ticks();
    void flatRangesGetOneTick_data();
    void flatRangesGetOneTick();
    void tickText_data();
    void tickText();
};

void DeviationGeometryTest::lineDeviation_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<double>("spread");

    QTest::newRow("on a rising line") << lineWithBump(101, 0.7, 3, 0) << 0.0;
    QTest::newRow("on a falling line far from 0") << lineWithBump(101, -2.5, 1e4, 0) << 0.0;
    QTest::newRow("bump of 3") << lineWithBump(101, 0.7, 3, 3) << 3.0;
    QTest::newRow("dent of 0.002") << lineWithBump(51, -0.2, 40, -0.002) << 0.002;
    QTest::newRow("two points") << Points{{0, 1}, {5, 2}} << 0.0;
}

void DeviationGeometryTest::lineDeviation()
{
    QFETCH(Points, points);
    QFETCH(double, spread);
    const DeviationCurve curve = lineDeviationCurve(points.cbegin(), points.cend());
    QCOMPARE(curve.keys, keysOf(points));
    QCOMPARE(curve.deviations.size(), points.size());
    KALVORA_COMPARE_NEAR(deviationSpread(curve.deviations), spread, 1e-9);
}

void DeviationGeometryTest::verticalStretchHasNoLine()
{
    const Points points{{2, 0}, {2, 1}, {2, 3}};
    const DeviationCurve curve = lineDeviationCurve(points.cbegin(), points.cend());
    QCOMPARE(curve.size(), 3);
    for (double d : curve.deviations)
        QVERIFY(std::isnan(d));
}

void DeviationGeometryTest::circleDeviationOfNoisyArc_data()
{
    QTest::addColumn<double>("radius");
    QTest::addColumn<double>("noise");
    QTest::addColumn<QPointF>("centre");

    QTest::newRow("2 mm, 1 um") << 2.0 << 0.001 << QPointF(10, -1.5);
    QTest::newRow("2000 um, 1 um") << 2000.0 << 1.0 << QPointF(5000, 300);
    QTest::newRow("0.5 mm, 0.1 um") << 0.5 << 0.0001 << QPointF(0, 0);
}

// The spread of the radial deviations from the fitted circle is the noise's
// own spread, give or take what the fit absorbs.
void DeviationGeometryTest::circleDeviationOfNoisyArc()
{
    QFETCH(double, radius);
    QFETCH(double, noise);
    QFETCH(QPointF, centre);
    const Points points = arcPoints(centre, radius, 45, 135, 200, noise);
    QPointF fittedCentre;
    double fittedRadius = 0;
    Algos::fitCircle(points.cbegin(), points.cend(), fittedCentre, fittedRadius);

    const DeviationCurve curve = circleDeviationCurve(points.cbegin(), points.cend(), fittedCentre, fittedRadius);
    QCOMPARE(curve.keys, keysOf(points));
    const double spread = deviationSpread(curve.deviations);
    QVERIFY2(spread >= 1.5 * noise && spread <= 2.05 * noise,
             qPrintable(QStringLiteral("spread %1 for noise %2").arg(spread).arg(noise)));
}

void DeviationGeometryTest::segmentsJoinThroughGaps_data()
{
    QTest::addColumn<Points>("data");
    QTest::addColumn<Ranges>("ranges");
    QTest::addColumn<QVector<int>>("indexes"); // of the points on the curve, in order

    Points rising;
    for (int i = 0; i < 40; ++i)
        rising.append(QPointF(i * 0.5, std::sqrt(400 - (i * 0.5 - 10) * (i * 0.5 - 10))));
    Points falling = rising;
    std::reverse(falling.begin(), falling.end());

    const auto span = [](int from, int to) {
        QVector<int> indexes;
        for (int i = from; i < to; ++i)
            indexes.append(i);
        return indexes;
    };
    QVector<int> fallingOrder = span(5, 30);
    std::reverse(fallingOrder.begin(), fallingOrder.end());

    QTest::newRow("gap between two stretches") << rising << Ranges{{5, 12}, {20, 30}} << span(5, 30);
    QTest::newRow("stretches picked right first") << rising << Ranges{{20, 30}, {5, 12}} << span(5, 30);
    QTest::newRow("overlapping stretches") << rising << Ranges{{5, 20}, {15, 30}} << span(5, 30);
    QTest::newRow("three stretches") << rising << Ranges{{0, 3}, {10, 12}, {35, 40}} << span(0, 40);
    QTest::newRow("one stretch") << rising << Ranges{{7, 9}} << span(7, 9);
    QTest::newRow("curve drawn right to left") << falling << Ranges{{5, 12}, {20, 30}} << fallingOrder;
}

void DeviationGeometryTest::segmentsJoinThroughGaps()
{
    QFETCH(Points, data);
    QFETCH(Ranges, ranges);
    QFETCH(QVector<int>, indexes);
    const QPointF centre(10, 0.3);
    const double radius = 19.5;

    const DeviationCurve curve = segmentsDeviationCurve(data.cbegin(), ranges, centre, radius);
    QCOMPARE(curve.size(), indexes.size());
    for (int k = 0; k < indexes.size(); ++k) {
        const QPointF p = data.at(indexes.at(k));
        QCOMPARE(curve.keys.at(k), p.x());
        QCOMPARE(curve.deviations.at(k), radialDeviation(p.x(), p.y(), centre, radius));
    }
}

void DeviationGeometryTest::bandFollowsMouse_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<double>("mouseY");
    QTest::addColumn<double>("lowest");
    QTest::addColumn<double>("baseline");
    QTest::addColumn<double>("angle");

    const Points rising{{1, 10}, {2, 8}, {3, 9}, {4, 12}};
    QTest::newRow("mouse 3 above the lowest point") << rising << 11.0 << 8.0 << 5.0 << 0.0;
    QTest::newRow("mouse below the lowest point") << rising << 2.5 << 8.0 << 2.5 << 0.0;
    QTest::newRow("mouse at the lowest point") << rising << 8.0 << 8.0 << 8.0 << 0.0;
    QTest::newRow("last point does not count as lowest") << Points{{1, 10}, {2, 8}, {3, 1}} << 0.0 << 8.0 << 0.0 << 0.0;
    QTest::newRow("keys falling") << Points{{4, 10}, {3, 8}, {2, 9}} << 4.0 << 8.0 << 4.0 << 180.0;
}

void DeviationGeometryTest::bandFollowsMouse()
{
    QFETCH(Points, points);
    QFETCH(double, mouseY);
    QFETCH(double, lowest);
    QFETCH(double, baseline);
    QFETCH(double, angle);

    const std::optional<BandFrame> frame = bandFrame(points.cbegin(), points.cend());
    QVERIFY(frame);
    QCOMPARE(frame->first, points.first());
    QCOMPARE(frame->last, points.last());
    QCOMPARE(frame->lowest, lowest);

    const DeviationBand band = deviationBand(*frame, mouseY);
    QCOMPARE(band.baseline, baseline);
    QCOMPARE(band.height(), lowest - baseline);
    QCOMPARE(band.baselineStart(), QPointF(points.first().x(), baseline));
    QCOMPARE(band.baselineEnd(), QPointF(points.last().x(), baseline));
    QCOMPARE(band.baselineAngle(), angle);
}

void DeviationGeometryTest::bandNeedsTwoPoints()
{
    const Points one{{1, 2}};
    QVERIFY(!bandFrame(one.cbegin(), one.cend()));
    QVERIFY(!bandFrame(one.cbegin(), one.cbegin()));
}

void DeviationGeometryTest::scaling_data()
{
    QTest::addColumn<QVector<double>>("deviations");
    QTest::addColumn<QVector<double>>("expected");

    // Band from 4 up to 8.
    QTest::newRow("spread over the band") << QVector<double>{-1, 0, 1} << QVector<double>{4, 6, 8};
    QTest::newRow("one deviation") << QVector<double>{0.3} << QVector<double>{6};
    QTest::newRow("all equal") << QVector<double>{2, 2, 2} << QVector<double>{6, 6, 6};
    QTest::newRow("round-off at a large offset")
        << QVector<double>{2, 2 + 4e-16, 2 - 2e-16} << QVector<double>{6, 6, 6};
}

void DeviationGeometryTest::scaling()
{
    QFETCH(QVector<double>, deviations);
    QFETCH(QVector<double>, expected);
    DeviationBand band;
    band.lowest = 8;
    band.baseline = 4;
    const QVector<double> scaled = scaleIntoBand(deviations, bandScale(deviations, band));
    QCOMPARE(scaled.size(), expected.size());
    for (int i = 0; i < scaled.size(); ++i)
        KALVORA_COMPARE_NEAR_AT(scaled.at(i), expected.at(i), 1e-12, QString::number(i));
}

void DeviationGeometryTest::ticks_data()
{
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("first");
    QTest::addColumn<int>("count");

    QTest::newRow("range 0.37") << 0.0 << 0.37 << 0.05 << 0.0 << 8;
    QTest::newRow("range 1.0") << -0.5 << 0.5 << 0.2 << -0.4 << 5;
    QTest::newRow("range 7") << -3.5 << 3.5 << 1.0 << -3.0 << 7;
    QTest::newRow("range 0.37 off zero") << 1.013 << 1.383 << 0.05 << 1.05 << 7;
    QTest::newRow("range 4e-3 of micrometres") << -0.0021 << 0.0019 << 0.0005 << -0.002 << 8;
    QTest::newRow("range 2000") << 0.0 << 2000.0 << 200.0 << 0.0 << 11;
}

void DeviationGeometryTest::ticks()
{
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(double, step);
    QFETCH(double, first);
    QFETCH(int, count);

    const ScaleTicks ticks = scaleTicks(minimum, maximum);
    KALVORA_COMPARE_NEAR(ticks.step, step, step * 1e-12);
    QCOMPARE(ticks.values.size(), count);
    for (int i = 0; i < count; ++i) {
        KALVORA_COMPARE_NEAR_AT(ticks.values.at(i), first + i * step, step * 1e-9, QString::number(i));
        QVERIFY(ticks.values.at(i) >= minimum - step * 1e-9 && ticks.values.at(i) <= maximum + step * 1e-9);
    }
}

void DeviationGeometryTest::flatRangesGetOneTick_data()
{
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("count");

    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("all deviations equal") << 0.25 << 0.25 << 1;
    QTest::newRow("all deviations 0") << 0.0 << 0.0 << 1;
    QTest::newRow("1e-16 spread around 2") << 2.0 - 1e-16 << 2.0 + 3e-16 << 1;
    QTest::newRow("maximum below minimum") << 1.0 << -1.0 << 1;
    QTest::newRow("range beyond doubles") << -1e308 << 1e308 << 1;
    QTest::newRow("infinite maximum") << 0.0 << inf << 1;
    QTest::newRow("not a number") << nan << nan << 0;
}

void DeviationGeometryTest::flatRangesGetOneTick()
{
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(int, count);
    const ScaleTicks ticks = scaleTicks(minimum, maximum);
    QCOMPARE(ticks.values.size(), count);
    if (count == 1)
        QCOMPARE(ticks.values.first(), minimum);
}

void DeviationGeometryTest::tickText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("round-off of 0") << 3e-11 << QStringLiteral("0");
    QTest::newRow("negative round-off of 0") << -9.9e-11 << QStringLiteral("0");
    QTest::newRow("small but real") << 2e-10 << QStringLiteral("2e-10");
    QTest::newRow("step multiple") << 0.35000000000000003 << QStringLiteral("0.35");
    QTest::newRow("six digits") << 1234.5678 << QStringLiteral("1234.57");
    QTest::newRow("negative") << -0.4 << QStringLiteral("-0.4");
}

void DeviationGeometryTest::tickText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(MeasurementMath::tickText(value), text);
}

KALVORA_TEST_MAIN(DeviationGeometryTest)
#include "DeviationGeometryTest.moc"
