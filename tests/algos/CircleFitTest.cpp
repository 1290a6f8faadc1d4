#include <QtTest>

#include <cmath>
#include <random>

#include "CircleFit.h"
#include "FuzzyCompare.h"
#include "TestMain.h"

namespace {

struct CurvePoint
{
    double t;
    double key;
    double value;
};

QVector<CurvePoint> curvePoints(const QVector<QPointF>& points)
{
    QVector<CurvePoint> curve;
    for (const QPointF& p : points)
        curve.append({0, p.x(), p.y()});
    return curve;
}

// Points on an arc, each moved along the radius by up to `noise`.
QVector<CurvePoint> arc(QPointF centre, double radius, double fromRad, double toRad, int count, double noise)
{
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> offset(-noise, noise);
    QVector<CurvePoint> curve;
    for (int i = 0; i < count; ++i) {
        const double a = fromRad + (toRad - fromRad) * i / (count - 1);
        const double r = radius + offset(random);
        curve.append({double(i), centre.x() + r * std::cos(a), centre.y() + r * std::sin(a)});
    }
    return curve;
}

} // namespace

class CircleFitTest : public QObject
{
    Q_OBJECT

private slots:
    void circleThroughPoints_data()
    {
        QTest::addColumn<QVector<QPointF>>("points");
        QTest::addColumn<QPointF>("centre");
        QTest::addColumn<double>("radius");

        QTest::newRow("unit half circle") << QVector<QPointF>{{1, 0}, {0, 1}, {-1, 0}} << QPointF(0, 0) << 1.0;
        QTest::newRow("four points round (2, 2)")
            << QVector<QPointF>{{3, 2}, {2, 3}, {1, 2}, {2, 1}} << QPointF(2, 2) << 1.0;
        QTest::newRow("radius 5 round (7, 5)") << QVector<QPointF>{{12, 5}, {7, 10}, {2, 5}} << QPointF(7, 5) << 5.0;
        QTest::newRow("small circle far from the origin")
            << QVector<QPointF>{{10001, 5000}, {10000, 5001}, {9999, 5000}, {10000, 4999}} << QPointF(10000, 5000)
            << 1.0;
    }

    void circleThroughPoints()
    {
        QFETCH(QVector<QPointF>, points);
        QFETCH(QPointF, centre);
        QFETCH(double, radius);

        const QVector<CurvePoint> curve = curvePoints(points);
        QPointF fittedCentre;
        double fittedRadius = 0;
        Algos::fitCircle(curve.cbegin(), curve.cend(), fittedCentre, fittedRadius);
        KALVORA_COMPARE_NEAR(fittedCentre.x(), centre.x(), 1e-9);
        KALVORA_COMPARE_NEAR(fittedCentre.y(), centre.y(), 1e-9);
        KALVORA_COMPARE_NEAR(fittedRadius, radius, 1e-9);

        Algos::fitCircle(points.cbegin(), points.cend(), fittedCentre, fittedRadius);
        KALVORA_COMPARE_NEAR(fittedRadius, radius, 1e-9);
    }

    void noisyArcGivesItsRadius_data()
    {
        QTest::addColumn<double>("radius");
        QTest::addColumn<double>("spanRad");
        QTest::addColumn<double>("noise");

        QTest::newRow("ball of 2.5 mm, quarter arc, 0.5 um noise") << 2500.0 << M_PI / 2 << 0.5;
        QTest::newRow("radius 0.2 mm, half circle, 0.1 um noise") << 200.0 << M_PI << 0.1;
        QTest::newRow("radius 40 mm, 20 degree arc, 0.2 um noise") << 40000.0 << M_PI / 9 << 0.2;
    }

    void noisyArcGivesItsRadius()
    {
        QFETCH(double, radius);
        QFETCH(double, spanRad);
        QFETCH(double, noise);

        const QPointF centre(1200, -radius + 300);
        const QVector<CurvePoint> curve = arc(centre, radius, M_PI / 2 - spanRad / 2, M_PI / 2 + spanRad / 2, 2000, noise);
        QPointF fittedCentre;
        double fittedRadius = 0;
        Algos::fitCircle(curve.cbegin(), curve.cend(), fittedCentre, fittedRadius);
        KALVORA_COMPARE_NEAR(fittedRadius, radius, 0.001 * radius);
        KALVORA_COMPARE_NEAR(fittedCentre.x(), centre.x(), 0.001 * radius);
        KALVORA_COMPARE_NEAR(fittedCentre.y(), centre.y(), 0.001 * radius);
    }

    void stretchesFitTogether()
    {
        const QVector<CurvePoint> curve = arc(QPointF(3, -4), 10, 0, 2, 300, 0.01);
        QPointF whole;
        double wholeRadius = 0;
        Algos::fitCircle(curve.cbegin(), curve.cend(), whole, wholeRadius);

        const auto cut1 = curve.cbegin() + 100;
        const auto cut2 = curve.cbegin() + 220;
        QPointF two;
        double twoRadius = 0;
        Algos::fitCircleTwoSets(curve.cbegin(), cut1, cut1, curve.cend(), two, twoRadius);
        KALVORA_COMPARE_NEAR(twoRadius, wholeRadius, 1e-12 * std::abs(wholeRadius));
        KALVORA_COMPARE_NEAR(two.x(), whole.x(), 1e-12 * std::abs(whole.x()));
        KALVORA_COMPARE_NEAR(two.y(), whole.y(), 1e-12 * std::abs(whole.y()));

        QPointF three;
        double threeRadius = 0;
        Algos::fitCircles(QVector<const CurvePoint*>{curve.cbegin(), cut1, cut2},
                          QVector<const CurvePoint*>{cut1, cut2, curve.cend()}, three, threeRadius);
        KALVORA_COMPARE_NEAR(threeRadius, wholeRadius, 1e-12 * std::abs(wholeRadius));

        // The stretches may be far apart: the two ends of the arc only.
        QPointF ends;
        double endsRadius = 0;
        Algos::fitCircleTwoSets(curve.cbegin(), curve.cbegin() + 30, curve.cend() - 30, curve.cend(), ends, endsRadius);
        KALVORA_COMPARE_NEAR(endsRadius, 10, 0.01);
    }

    void degenerateInputIsNotFinite_data()
    {
        QTest::addColumn<QVector<QPointF>>("points");
        QTest::newRow("no points") << QVector<QPointF>{};
        QTest::newRow("collinear points") << QVector<QPointF>{{0, 0}, {1, 1}, {2, 2}};
    }

    void degenerateInputIsNotFinite()
    {
        QFETCH(QVector<QPointF>, points);
        const QVector<CurvePoint> curve = curvePoints(points);
        QPointF centre;
        double radius = 0;
        Algos::fitCircle(curve.cbegin(), curve.cend(), centre, radius);
        QVERIFY(!std::isfinite(centre.x()) || !std::isfinite(centre.y()));
    }

    void mismatchedBoundsAreNotFinite()
    {
        const QVector<CurvePoint> curve = curvePoints({{1, 0}, {0, 1}, {-1, 0}});
        QPointF centre;
        double radius = 0;
        Algos::fitCircles(QVector<const CurvePoint*>{curve.cbegin(), curve.cbegin()},
                          QVector<const CurvePoint*>{curve.cend()}, centre, radius);
        QVERIFY(std::isnan(radius));
        QVERIFY(std::isnan(centre.x()));
    }
};

KALVORA_TEST_MAIN(CircleFitTest)
#include "CircleFitTest.moc"
