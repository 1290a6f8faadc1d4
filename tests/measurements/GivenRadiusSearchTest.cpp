#include "ArcPoints.h"

#include "measurements/math/GivenRadiusSearch.h"

#include "CircleFit.h"

#include "FuzzyCompare.h"
#include "TestMain.h"

#include <array>
#include <cmath>
#include <limits>

using namespace MeasurementMath;

using Points = QVector<QPointF>;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

QPointF fittedCentre(const Points& points)
{
    QPointF centre;
    double radius = 0;
    Algos::fitCircle(points.cbegin(), points.cend(), centre, radius);
    return centre;
}

// The pattern search as described, one deviation sum per trial centre.
QPointF referenceFitCentre(const Points& points, QPointF centre, double radius)
{
    double current = absoluteDeviationSum(points, centre, radius);
    double step = 0.1 * radius;
    for (int moves = 0; step > 1e-5 * radius && moves < kMaxCentreMoves;) {
        const QPointF trials[] = {{centre.x() + step, centre.y()},
                                  {centre.x() - step, centre.y()},
                                  {centre.x(), centre.y() + step},
                                  {centre.x(), centre.y() - step}};
        double sums[4];
        double least = current;
        for (int t = 0; t < 4; ++t) {
            sums[t] = absoluteDeviationSum(points, trials[t], radius);
            least = std::min(least, sums[t]);
        }
        int winner = -1;
        for (int t = 0; t < 4 && winner < 0; ++t) {
            if (sums[t] == least)
                winner = t;
        }
        if (winner < 0) {
            step *= 0.5;
            continue;
        }
        centre = trials[winner];
        current = sums[winner];
        ++moves;
    }
    return centre;
}

bool isFinite(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

} // namespace

class GivenRadiusSearchTest : public QObject
{
    Q_OBJECT
private slots:
    void findsCentreOfCircle_data();
    void findsCentreOfCircle();
    void touchesPointsFromCentreSide_data();
    void touchesPointsFromCentreSide();
    void fastSumsEqualOneSumPerTrial_data();
    void fastSumsEqualOneSumPerTrial();
    void unusableStartReturnsAtOnce_data();
    void unusableStartReturnsAtOnce();
    void zeroRadiusTakesNoStep();
    void movesOnTiesAreBounded();
    void balancedPointsKeepCentre();
    void pointsOutside_data();
    void pointsOutside();
};

void GivenRadiusSearchTest::findsCentreOfCircle_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<QPointF>("centre");
    QTest::addColumn<double>("radius");

    QTest::newRow("top quarter, 2 mm") << arcPoints({3, -1.5}, 2, 45, 135, 200) << QPointF(3, -1.5) << 2.0;
    QTest::newRow("bottom third, 5000 um")
        << arcPoints({100, 7000}, 5000, 240, 300, 300) << QPointF(100, 7000) << 5000.0;
    QTest::newRow("side half, 0.3 mm") << arcPoints({0, 0}, 0.3, -80, 80, 150) << QPointF(0, 0) << 0.3;
    QTest::newRow("bottom quarter, 1 mm") << arcPoints({-2, 4}, 1, 225, 315, 91) << QPointF(-2, 4) << 1.0;
}

void GivenRadiusSearchTest::findsCentreOfCircle()
{
    QFETCH(Points, points);
    QFETCH(QPointF, centre);
    QFETCH(double, radius);
    // Start a little off, as a fit to noisy points would.
    const QPointF start = centre + QPointF(0.03 * radius, -0.02 * radius);
    const QPointF found = givenRadiusCentre(points, start, radius);
    KALVORA_COMPARE_NEAR(found.x(), centre.x(), 1e-4 * radius);
    KALVORA_COMPARE_NEAR(found.y(), centre.y(), 1e-4 * radius);
}

void GivenRadiusSearchTest::touchesPointsFromCentreSide_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<double>("radius");
    QTest::addColumn<double>("direction"); // of the move from the fitted centre: +1 up, -1 down

    // A circle smaller than the arc's own is pushed away from the points
    // until none lies inside it.
    QTest::newRow("arc above, smaller circle") << arcPoints({0, 0}, 2, 60, 120, 100, 0.001) << 1.5 << -1.0;
    QTest::newRow("arc below, smaller circle") << arcPoints({0, 0}, 2, 240, 300, 100, 0.001) << 1.5 << 1.0;
    QTest::newRow("arc above, same circle with noise") << arcPoints({5, 5}, 1, 30, 150, 200, 0.002) << 1.0 << -1.0;
}

void GivenRadiusSearchTest::touchesPointsFromCentreSide()
{
    QFETCH(Points, points);
    QFETCH(double, radius);
    QFETCH(double, direction);
    const QPointF fitted = fitCentre(points, fittedCentre(points), radius);
    const QPointF touching = touchCentre(points, fitted, radius);

    QCOMPARE(touching.x(), fitted.x());
    QVERIFY((touching.y() - fitted.y()) * direction >= 0);
    QVERIFY(allPointsOutside(points, touching, radius));
    // Just outside: a hundredth of a step closer some point lies inside.
    const QPointF closer(touching.x(), touching.y() - direction * 2e-5 * radius);
    QVERIFY(!allPointsOutside(points, closer, radius));
}

void GivenRadiusSearchTest::fastSumsEqualOneSumPerTrial_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<double>("radius");

    QTest::newRow("noisy arc") << arcPoints({1, 2}, 2, 20, 110, 500, 0.003) << 2.0;
    QTest::newRow("radius far from the arc's") << arcPoints({1, 2}, 2, 20, 110, 500, 0.003) << 7.0;
    QTest::newRow("few points") << arcPoints({0, 0}, 1, 0, 90, 4) << 1.0;
}

void GivenRadiusSearchTest::fastSumsEqualOneSumPerTrial()
{
    QFETCH(Points, points);
    QFETCH(double, radius);
    const QPointF start = fittedCentre(points);
    QCOMPARE(fitCentre(points, start, radius), referenceFitCentre(points, start, radius));
}

void GivenRadiusSearchTest::unusableStartReturnsAtOnce_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<double>("radius");

    const Points line{{0, 0}, {1, 1}, {2, 2}, {3, 3}};
    QTest::newRow("collinear points") << line << fittedCentre(line) << 1.0;
    QTest::newRow("one point") << Points{{1, 1}} << fittedCentre(Points{{1, 1}}) << 1.0;
    QTest::newRow("two points") << Points{{1, 1}, {2, 0}} << fittedCentre(Points{{1, 1}, {2, 0}}) << 1.0;
    QTest::newRow("radius not a number") << arcPoints({0, 0}, 1, 0, 90, 20) << QPointF(0.1, 0) << kNaN;
    QTest::newRow("infinite radius") << arcPoints({0, 0}, 1, 0, 90, 20) << QPointF(0.1, 0)
                                     << std::numeric_limits<double>::infinity();
    QTest::newRow("negative radius") << arcPoints({0, 0}, 1, 0, 90, 20) << QPointF(0.1, 0) << -1.0;
}

void GivenRadiusSearchTest::unusableStartReturnsAtOnce()
{
    QFETCH(Points, points);
    QFETCH(QPointF, start);
    QFETCH(double, radius);
    QVERIFY(!isFinite(start) || !std::isfinite(radius) || radius < 0);
    const QPointF found = givenRadiusCentre(points, start, radius);
    QCOMPARE(isFinite(found), isFinite(start));
    if (isFinite(start))
        QCOMPARE(found, start);
}

void GivenRadiusSearchTest::zeroRadiusTakesNoStep()
{
    const Points points = arcPoints({0, 0}, 1, 0, 90, 20);
    QCOMPARE(givenRadiusCentre(points, QPointF(0.2, 0.1), 0), QPointF(0.2, 0.1));
}

// Without points every trial ties with the current sum (0): the search moves
// right on every turn until the bound stops it.
void GivenRadiusSearchTest::movesOnTiesAreBounded()
{
    const QPointF found = fitCentre(Points(), QPointF(0, 0), 1);
    KALVORA_COMPARE_NEAR(found.x(), kMaxCentreMoves * 0.1, 1e-6);
    QCOMPARE(found.y(), 0.0);
}

void GivenRadiusSearchTest::balancedPointsKeepCentre()
{
    const Points points{{0, 1}, {0, -1}, {1, 2}, {1, -2}};
    QCOMPARE(touchCentre(points, QPointF(0, 0), 0.5), QPointF(0, 0));
}

void GivenRadiusSearchTest::pointsOutside_data()
{
    QTest::addColumn<Points>("points");
    QTest::addColumn<bool>("outside");

    QTest::newRow("no points") << Points() << true;
    QTest::newRow("all beyond") << Points{{2, 0}, {0, -3}} << true;
    QTest::newRow("one on the circle") << Points{{2, 0}, {0, 1}} << false;
    QTest::newRow("one inside") << Points{{2, 0}, {0.5, 0}} << false;
}

void GivenRadiusSearchTest::pointsOutside()
{
    QFETCH(Points, points);
    QFETCH(bool, outside);
    QCOMPARE(allPointsOutside(points, QPointF(0, 0), 1), outside);
}

KALVORA_TEST_MAIN(GivenRadiusSearchTest)
#include "GivenRadiusSearchTest.moc"
