#include "measurements/math/DrawingFit.h"
#include "measurements/math/DrawingGeometry.h"

#include "TestMain.h"

#include <cmath>

using namespace MeasurementMath;

using Entities = QVector<DrawingEntity>;
using Points = QVector<QPointF>;

namespace {

// A bump between two flats and a wall, with a hole beside it.
const Entities kOutline{lineEntity(0, 0, 20, 0), arcEntity(25, 0, 5, 0, 180), lineEntity(30, 0, 40, 0),
                        lineEntity(40, 0, 40, 8), circleEntity(10, 5, 2)};
const QPointF kCorner(40, 0);

Entities placed(const Entities& drawing, QPointF centre, const DrawingPlacement& placement)
{
    Entities moved;
    for (const DrawingEntity& e : drawing) {
        moved.append(translatedEntity(rotatedEntity(e, centre, placement.degrees), placement.shift.x(),
                                      placement.shift.y()));
    }
    return moved;
}

// Points along every entity of the drawing, about step apart.
Points pointsOn(const Entities& drawing, double step)
{
    Points points;
    for (const DrawingEntity& e : drawing) {
        const QVector<double>& p = e.parameters;
        if (isLine(e)) {
            const QLineF line(p[0], p[1], p[2], p[3]);
            const int n = int(std::ceil(line.length() / step));
            for (int k = 0; k <= n; ++k)
                points.append(line.pointAt(double(k) / n));
            continue;
        }
        const double start = isArc(e) ? p[3] : 0;
        const double end = isArc(e) ? p[4] : 360;
        const double span = (end - start) * M_PI / 180;
        const int n = int(std::ceil(span * p[2] / step));
        for (int k = 0; k <= n; ++k) {
            const double a = start * M_PI / 180 + span * k / n;
            points.append(QPointF(p[0] + p[2] * std::cos(a), p[1] + p[2] * std::sin(a)));
        }
    }
    return points;
}

double walkedSum(const Entities& drawing, const Points& points)
{
    double sum = 0;
    for (const QPointF& p : points) {
        if (std::isfinite(p.x()) && std::isfinite(p.y()))
            sum += distanceToNearestEntity(drawing, p.x(), p.y());
    }
    return sum;
}

} // namespace

Q_DECLARE_METATYPE(DrawingPlacement)

class DrawingFitTest : public QObject
{
    Q_OBJECT
private slots:
    void errorMeasuresPlacedDrawing_data();
    void errorMeasuresPlacedDrawing();
    void searchesFindPlacementOnTheirSteps_data();
    void searchesFindPlacementOnTheirSteps();
    void searchesLandAlikeInEveryUnit();
};

void DrawingFitTest::errorMeasuresPlacedDrawing_data()
{
    QTest::addColumn<DrawingPlacement>("placement");

    QTest::newRow("shifted") << DrawingPlacement{0, {0.3, -1.7}};
    QTest::newRow("turned") << DrawingPlacement{30, {}};
    QTest::newRow("half turned and shifted") << DrawingPlacement{180, {2, 1}};
    QTest::newRow("turned back past a full turn, arcs across 0 degrees") << DrawingPlacement{-412.5, {-0.5, 4}};
}

// Points scattered around the drawing measure the same against the drawing
// placed and, taken the other way, against the drawing as it stands.
void DrawingFitTest::errorMeasuresPlacedDrawing()
{
    QFETCH(DrawingPlacement, placement);

    Points trace;
    for (int i = 0; i < 400; ++i)
        trace.append(QPointF(-5 + 0.13 * i, 6 * std::sin(i * 0.37)));
    trace.append(QPointF(qQNaN(), 1));
    const DrawingIndex index(kOutline);
    const DrawingFit fit(index, trace, kCorner);

    const double expected = walkedSum(placed(kOutline, kCorner, placement), trace);
    QVERIFY2(std::abs(fit.error(placement) - expected) < 1e-9 * expected,
             qPrintable(QStringLiteral("%1 against %2").arg(fit.error(placement)).arg(expected)));
    QCOMPARE(fit.error({}), summedDistance(trace, index));
}

void DrawingFitTest::searchesFindPlacementOnTheirSteps_data()
{
    QTest::addColumn<DrawingPlacement>("placement");
    QTest::addColumn<bool>("turns");

    // Sums and differences of the searches' steps: 45 - 22.5 + 11.25 degrees,
    // -180 + 33.75, shifts of 0.375 and -0.25.
    QTest::newRow("turned") << DrawingPlacement{33.75, {}} << true;
    QTest::newRow("turned over") << DrawingPlacement{-146.25, {}} << true;
    // Turning would take up part of a shift: the shift searches alone.
    QTest::newRow("shifted") << DrawingPlacement{0, {0.375, -0.25}} << false;
}

// A trace on the drawing placed about its wall corner: the searches, run in
// the comparison's order, find that placement.
void DrawingFitTest::searchesFindPlacementOnTheirSteps()
{
    QFETCH(DrawingPlacement, placement);
    QFETCH(bool, turns);

    const Points trace = pointsOn(placed(kOutline, kCorner, placement), 0.1);
    const DrawingIndex index(kOutline);
    DrawingFit fit(index, trace, kCorner);
    double error = turns ? fit.searchRotation() : fit.error({});
    error = fit.searchVerticalShift(error, 1);
    error = fit.searchHorizontalShift(error, 1);

    const double turn = std::remainder(fit.placement().degrees - placement.degrees, 360);
    QVERIFY2(std::abs(turn) < 1e-9, qPrintable(QString::number(fit.placement().degrees, 'g', 17)));
    QVERIFY2(QLineF(fit.placement().shift, placement.shift).length() < 1e-9,
             qPrintable(QStringLiteral("%1, %2").arg(fit.placement().shift.x()).arg(fit.placement().shift.y())));
    QVERIFY2(error < 1e-9, qPrintable(QString::number(error)));
}

// The comparison's searches on one drawing and trace given in millimetres,
// micrometres and nanometres, the shifts starting at a millimetre in each:
// the drawing lands in the same place, however fine the unit. The trace lies
// off the searches' steps, so that where they stop shows.
void DrawingFitTest::searchesLandAlikeInEveryUnit()
{
    const DrawingPlacement offSteps{1.3, {0.3337, -0.2113}};
    const Points traceInMillimetres = pointsOn(placed(kOutline, kCorner, offSteps), 0.1);
    QVector<DrawingPlacement> found;
    for (const double millimetre : {1.0, 1e3, 1e6}) {
        Entities drawing;
        for (const DrawingEntity& e : kOutline)
            drawing.append(scaledEntity(e, millimetre));
        Points trace;
        for (const QPointF& p : traceInMillimetres)
            trace.append(p * millimetre);
        const DrawingIndex index(drawing);
        DrawingFit fit(index, trace, kCorner * millimetre);
        double error = fit.searchRotation();
        error = fit.searchVerticalShift(error, millimetre);
        fit.searchHorizontalShift(error, millimetre);
        found.append({fit.placement().degrees, fit.placement().shift / millimetre});
    }
    for (int unit = 1; unit < found.size(); ++unit) {
        const QString where = QStringLiteral("unit %1: %2 degrees, shift %3, %4")
                                  .arg(unit)
                                  .arg(found[unit].degrees, 0, 'g', 17)
                                  .arg(found[unit].shift.x(), 0, 'g', 17)
                                  .arg(found[unit].shift.y(), 0, 'g', 17);
        QVERIFY2(std::abs(found[unit].degrees - found[0].degrees) < 1e-9, qPrintable(where));
        QVERIFY2(QLineF(found[unit].shift, found[0].shift).length() < 1e-9, qPrintable(where));
    }
}

KALVORA_TEST_MAIN(DrawingFitTest)
#include "DrawingFitTest.moc"
