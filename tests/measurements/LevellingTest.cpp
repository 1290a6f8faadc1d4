#include "measurements/math/Levelling.h"

#include "Geometry.h"
#include "RMS.h"

#include "FuzzyCompare.h"
#include "TestMain.h"

#include <cmath>
#include <cstring>
#include <limits>

class LevellingTest : public QObject
{
    Q_OBJECT
private slots:
    void angle_data();
    void angle();
    void rotationLaysTheLineFlat_data();
    void rotationLaysTheLineFlat();
    void levelLineStaysBitIdentical();
    void inPlaceTurnsAsRotatePoint();
    void linesWithoutCoefficients();
};

void LevellingTest::angle_data()
{
    QTest::addColumn<double>("slope");
    QTest::addColumn<double>("angle");

    QTest::newRow("rising, slope 1") << 1.0 << -M_PI / 4;
    QTest::newRow("falling, slope -1") << -1.0 << M_PI / 4;
    QTest::newRow("level") << 0.0 << 0.0;
    QTest::newRow("slope 0.5") << 0.5 << -std::atan(0.5);
    QTest::newRow("steep fall") << -20.0 << std::atan(20.0);
}

void LevellingTest::angle()
{
    QFETCH(double, slope);
    QFETCH(double, angle);
    KALVORA_COMPARE_NEAR(MeasurementMath::levellingAngle(7, slope), angle, 1e-12);
}

void LevellingTest::rotationLaysTheLineFlat_data()
{
    QTest::addColumn<double>("slope");
    QTest::addColumn<double>("offset");

    QTest::newRow("slope 0.5 through (0, 2)") << 0.5 << 2.0;
    QTest::newRow("falling") << -1.5 << 40.0;
    QTest::newRow("slight") << 0.001 << -3.0;
}

// Rotated about the first point by the levelling angle, the points of the
// line all come to the first point's height, within single precision of the
// angle and centre.
void LevellingTest::rotationLaysTheLineFlat()
{
    QFETCH(double, slope);
    QFETCH(double, offset);

    QVector<QPointF> points;
    for (int i = 0; i <= 50; ++i)
        points.append(QPointF(i, offset + slope * i));
    const Algos::RMS line(points.constBegin(), points.constEnd());
    const QPointF centre = points.first();
    MeasurementMath::rotateInPlace(points.begin(), points.end(),
                                   centre, MeasurementMath::levellingAngle(line.coefficient(0), line.coefficient(1)));

    const double span = std::hypot(50.0, 50 * slope);
    for (const QPointF& p : qAsConst(points))
        KALVORA_COMPARE_NEAR(p.y(), double(float(centre.y())), 1e-6 * span);
    KALVORA_COMPARE_NEAR(points.last().x() - points.first().x(), span, 1e-5 * span);
}

void LevellingTest::levelLineStaysBitIdentical()
{
    QVector<QPointF> points;
    for (int i = 0; i <= 20; ++i)
        points.append(QPointF(i * 0.1, 0.3));
    const QVector<QPointF> before = points;
    const Algos::RMS line(points.constBegin(), points.constEnd());
    const double angle = MeasurementMath::levellingAngle(line.coefficient(0), line.coefficient(1));
    QCOMPARE(angle, 0.0);
    MeasurementMath::rotateInPlace(points.begin(), points.end(), points.first(), angle);
    QVERIFY(std::memcmp(points.constData(), before.constData(), sizeof(QPointF) * size_t(points.size())) == 0);
}

// The rotation in place takes the sine and cosine once; every point still
// comes out as Algos::rotatePoint turns it on its own.
void LevellingTest::inPlaceTurnsAsRotatePoint()
{
    QVector<QPointF> points;
    for (int i = 0; i < 200; ++i)
        points.append(QPointF(i * 0.37 - 20, std::sin(i * 0.1) * 3 + 1e-3 * i * i));
    const QPointF centre(3.3, -1.7);
    const double angle = -0.4321;
    QVector<QPointF> turned = points;
    MeasurementMath::rotateInPlace(turned.begin(), turned.end(), centre, angle);
    for (int i = 0; i < points.size(); ++i) {
        const QPointF expected = Algos::rotatePoint(float(centre.x()), float(centre.y()), float(angle), points.at(i));
        QVERIFY(std::memcmp(&turned.at(i), &expected, sizeof(QPointF)) == 0);
    }
}

void LevellingTest::linesWithoutCoefficients()
{
    QVERIFY(!MeasurementMath::holdsLine(Algos::RMS()));
    const QVector<QPointF> vertical = {{2, 0}, {2, 1}, {2, 5}};
    QVERIFY(!MeasurementMath::holdsLine(Algos::RMS(vertical.constBegin(), vertical.constEnd())));
    const QVector<QPointF> single = {{2, 0}};
    QVERIFY(!MeasurementMath::holdsLine(Algos::RMS(single.constBegin(), single.constEnd())));
    const QVector<QPointF> rising = {{0, 0}, {1, 1}};
    QVERIFY(MeasurementMath::holdsLine(Algos::RMS(rising.constBegin(), rising.constEnd())));
}

KALVORA_TEST_MAIN(LevellingTest)
#include "LevellingTest.moc"
