#include "measurements/math/DrawingGeometry.h"
#include "measurements/math/DrawingIndex.h"

#include "TestMain.h"

#include <QRandomGenerator>
#include <QThreadPool>

#include <cmath>

using namespace MeasurementMath;

using Entities = QVector<DrawingEntity>;
using Points = QVector<QPointF>;
Q_DECLARE_METATYPE(DrawingEntity)

namespace {

bool allFinite(const Points& points)
{
    return std::all_of(points.begin(), points.end(),
                       [](const QPointF& p) { return std::isfinite(p.x()) && std::isfinite(p.y()); });
}

// Lines, circles, arcs (some across 0 degrees, some short) and ellipses
// scattered over a square of side 100, with short ones among them.
Entities randomDrawing(QRandomGenerator& random, int count)
{
    Entities entities;
    const auto coordinate = [&random] { return random.bounded(100.0); };
    for (int i = 0; i < count; ++i) {
        const double x = coordinate();
        const double y = coordinate();
        const double size = random.bounded(4) == 0 ? random.bounded(0.01) : random.bounded(10.0);
        switch (random.bounded(4)) {
        case 0:
            entities.append(lineEntity(x, y, x + size * std::cos(i), y + size * std::sin(i)));
            break;
        case 1:
            entities.append(circleEntity(x, y, size + 0.001));
            break;
        case 2:
            entities.append(arcEntity(x, y, size + 0.001, random.bounded(720.0) - 360, random.bounded(720.0) - 360));
            break;
        default:
            entities.append(ellipseEntity(x, y, size + 1, size / 2 + 1));
        }
    }
    return entities;
}

} // namespace

class DrawingGeometryTest : public QObject
{
    Q_OBJECT
private slots:
    void distances_data();
    void distances();
    void nearestEntity();
    void reperPoints_data();
    void reperPoints();
    void arcAnglesNormalised_data();
    void arcAnglesNormalised();
    void transforms();
    void rotatedArcStaysArc();
    void bounds_data();
    void bounds();
    void unitFactors();
    void indexAnswersAsTheWalk_data();
    void indexAnswersAsTheWalk();
    void sumDoesNotDependOnThreads();
};

void DrawingGeometryTest::distances_data()
{
    QTest::addColumn<DrawingEntity>("entity");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<double>("expected");

    const DrawingEntity segment = lineEntity(0, 0, 10, 0);
    QTest::newRow("3 outside a circle of radius 10") << circleEntity(0, 0, 10) << QPointF(13, 0) << 3.0;
    QTest::newRow("4 inside a circle") << circleEntity(0, 0, 10) << QPointF(0, 6) << 4.0;
    QTest::newRow("above a segment") << segment << QPointF(4, 3) << 3.0;
    QTest::newRow("beyond a segment's end") << segment << QPointF(13, 4) << 5.0;
    QTest::newRow("before a segment's start") << segment << QPointF(-3, -4) << 5.0;
    QTest::newRow("zero-length segment") << lineEntity(2, 2, 2, 2) << QPointF(5, 6) << 5.0;
    QTest::newRow("vertical segment") << lineEntity(1, 0, 1, 10) << QPointF(4, 5) << 3.0;
    QTest::newRow("on an arc's span") << arcEntity(0, 0, 10, 0, 90) << QPointF(12 / std::sqrt(2.0), 12 / std::sqrt(2.0))
                                      << 2.0;
    QTest::newRow("off an arc's span: nearer end") << arcEntity(0, 0, 10, 0, 90) << QPointF(10, -5) << 5.0;
    QTest::newRow("arc 270 to 90 through 0") << arcEntity(0, 0, 10, 270, 90) << QPointF(12, 0) << 2.0;
    QTest::newRow("arc 270 to 90, opposite side") << arcEntity(0, 0, 10, 270, 90) << QPointF(-10, 10) << 10.0;
    QTest::newRow("arc from -90") << arcEntity(0, 0, 10, -90, 0) << QPointF(0, -13) << 3.0;
    QTest::newRow("ellipses are not measured") << ellipseEntity(0, 0, 5, 2) << QPointF(5, 0) << kNoDrawingDistance;
}

void DrawingGeometryTest::distances()
{
    QFETCH(DrawingEntity, entity);
    QFETCH(QPointF, point);
    QFETCH(double, expected);

    QVERIFY(qFuzzyCompare(distanceToEntity(entity, point.x(), point.y()), expected));
    QVERIFY(qFuzzyCompare(distanceToNearestEntity({entity}, point.x(), point.y()), expected));
}

void DrawingGeometryTest::nearestEntity()
{
    QCOMPARE(distanceToNearestEntity({}, 1, 2), kNoDrawingDistance);
    QCOMPARE(DrawingIndex().distanceToNearest(1, 2), kNoDrawingDistance);
    QCOMPARE(DrawingIndex({ellipseEntity(0, 0, 1, 1)}).distanceToNearest(1, 2), kNoDrawingDistance);
    const Entities two{lineEntity(0, 0, 10, 0), circleEntity(0, 20, 5)};
    QCOMPARE(distanceToNearestEntity(two, 0, 12), 3.0);
    QCOMPARE(DrawingIndex(two).distanceToNearest(0, 12), 3.0);
    QVERIFY(qIsNaN(footOfPerpendicular(QPointF(1, 1), QPointF(2, 2), QPointF(2, 2)).x()));
    QCOMPARE(footOfPerpendicular(QPointF(3, 5), QPointF(0, 0), QPointF(10, 0)), QPointF(3, 0));
}

void DrawingGeometryTest::reperPoints_data()
{
    QTest::addColumn<DrawingEntity>("entity");
    QTest::addColumn<Points>("leading");
    QTest::addColumn<int>("count");

    Points line{{0, 0}, {10, 0}};
    for (int k = 0; k < 10; ++k)
        line.append(QPointF(k, 0));
    QTest::newRow("line: ends, then ten from the left") << lineEntity(0, 0, 10, 0) << line << 12;
    QTest::newRow("line drawn right to left") << lineEntity(10, 5, 0, 0)
                                              << Points{{10, 5}, {0, 0}, {0, 0}, {1, 0.5}, {2, 1}} << 12;
    QTest::newRow("vertical line: up from the lower end")
        << lineEntity(2, 10, 2, 0) << Points{{2, 10}, {2, 0}, {2, 0}, {2, 1}, {2, 2}} << 12;
    QTest::newRow("circle: axis ends, then pairs")
        << circleEntity(1, 2, 10) << Points{{1, 12}, {1, -8}, {11, 2}, {-9, 2}, {-9, 2}, {-9, 2}, {-7, -4}, {-7, 8}}
        << 26;
    QTest::newRow("ellipse") << ellipseEntity(0, 0, 5, 2.5) << Points{{0, 2.5}, {0, -2.5}, {5, 0}, {-5, 0}} << 26;
    QTest::newRow("ellipse standing up") << ellipseEntity(0, 0, 2, 4) << Points{{0, 4}, {0, -4}, {2, 0}, {-2, 0}} << 26;
    QTest::newRow("arc 0 to 90: ends, then eleven")
        << arcEntity(0, 0, 10, 0, 90) << Points{{10, 0}, {0, 10}, {10, 0}} << 13;
    QTest::newRow("arc across 0 degrees")
        << arcEntity(0, 0, 10, 270, 90) << Points{{0, -10}, {0, 10}, {0, -10}} << 13;
}

void DrawingGeometryTest::reperPoints()
{
    QFETCH(DrawingEntity, entity);
    QFETCH(Points, leading);
    QFETCH(int, count);

    const Points points = entityReperPoints(entity);
    QCOMPARE(points.size(), count);
    QVERIFY(allFinite(points));
    for (int i = 0; i < leading.size(); ++i) {
        QVERIFY2(QLineF(points.at(i), leading.at(i)).length() < 1e-9,
                 qPrintable(QStringLiteral("point %1: %2, %3").arg(i).arg(points.at(i).x()).arg(points.at(i).y())));
    }
    // Every point lies on the entity, where it can be measured.
    if (!isEllipse(entity)) {
        for (const QPointF& p : points)
            QVERIFY(distanceToEntity(entity, p.x(), p.y()) < 1e-9);
    }
}

void DrawingGeometryTest::arcAnglesNormalised_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<double>("normalStart");
    QTest::addColumn<double>("normalEnd");

    QTest::newRow("ordinary") << 0.0 << 90.0 << 0.0 << 90.0;
    QTest::newRow("across 0") << 270.0 << 90.0 << 270.0 << 450.0;
    QTest::newRow("negative start") << -90.0 << 0.0 << 270.0 << 360.0;
    QTest::newRow("beyond a turn") << 400.0 << 410.0 << 40.0 << 50.0;
    QTest::newRow("equal ends: the whole turn") << 30.0 << 30.0 << 30.0 << 390.0;
}

void DrawingGeometryTest::arcAnglesNormalised()
{
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(double, normalStart);
    QFETCH(double, normalEnd);

    normaliseArcAngles(start, end);
    QCOMPARE(start, normalStart);
    QCOMPARE(end, normalEnd);
}

void DrawingGeometryTest::transforms()
{
    const DrawingEntity line = lineEntity(1, 2, 3, 4);
    QCOMPARE(translatedEntity(line, 10, 20), lineEntity(11, 22, 13, 24));
    QCOMPARE(translatedEntity(arcEntity(1, 2, 3, 0, 90), 10, 20), arcEntity(11, 22, 3, 0, 90));
    QCOMPARE(translatedEntity(ellipseEntity(1, 2, 3, 4), 1, 1), ellipseEntity(2, 3, 3, 4));

    const DrawingEntity turned = rotatedEntity(line, QPointF(1, 0), 90);
    const DrawingEntity expected = lineEntity(-1, 0, -3, 2);
    for (int i = 0; i < 4; ++i)
        QVERIFY(std::abs(turned.parameters[i] - expected.parameters[i]) < 1e-12);
    const DrawingEntity ellipse = rotatedEntity(ellipseEntity(2, 0, 3, 1), QPointF(0, 0), 180);
    QVERIFY(std::abs(ellipse.parameters[0] + 2) < 1e-12);
    QCOMPARE(ellipse.parameters.mid(2), (QVector<double>{3, 1}));

    QCOMPARE(scaledEntity(line, 1000), lineEntity(1000, 2000, 3000, 4000));
    QCOMPARE(scaledEntity(arcEntity(1, 2, 3, 10, 20), 1000), arcEntity(1000, 2000, 3000, 10, 20));
    QCOMPARE(scaledEntity(circleEntity(1, 2, 3), 2), circleEntity(2, 4, 6));
    QCOMPARE(scaledEntity(ellipseEntity(1, 2, 3, 4), 2), ellipseEntity(2, 4, 6, 8));
}

// Turned back and forth past 0 degrees, an arc keeps its span and is never
// taken for a full circle.
void DrawingGeometryTest::rotatedArcStaysArc()
{
    DrawingEntity arc = arcEntity(0, 0, 10, 0, 90);
    for (double degrees : {-45.0, -90.0, 300.0, -720.0, 100.0})
        arc = rotatedEntity(arc, QPointF(0, 0), degrees);
    QVERIFY(isArc(arc));
    QVERIFY(std::abs(arc.parameters[4] - arc.parameters[3] - 90) < 1e-9);
    QVERIFY(std::abs(arc.parameters[3] - 265) < 1e-9);
}

void DrawingGeometryTest::bounds_data()
{
    QTest::addColumn<Entities>("entities");
    QTest::addColumn<QRectF>("expected");

    QTest::newRow("line") << Entities{lineEntity(3, 4, -1, 2)} << QRectF(QPointF(-1, 2), QPointF(3, 4));
    QTest::newRow("circle") << Entities{circleEntity(1, 2, 3)} << QRectF(QPointF(-2, -1), QPointF(4, 5));
    QTest::newRow("ellipse") << Entities{ellipseEntity(0, 0, 5, 2)} << QRectF(QPointF(-5, -2), QPointF(5, 2));
    QTest::newRow("arc over the top") << Entities{arcEntity(0, 0, 10, 0, 180)}
                                      << QRectF(QPointF(-10, 0), QPointF(10, 10));
    QTest::newRow("arc across 0 degrees") << Entities{arcEntity(0, 0, 10, 270, 450)}
                                          << QRectF(QPointF(0, -10), QPointF(10, 10));
    QTest::newRow("short arc between the axes") << Entities{arcEntity(0, 0, 2, 30, 60)}
                                                << QRectF(QPointF(1, 1), QPointF(std::sqrt(3.0), std::sqrt(3.0)));
    QTest::newRow("several") << Entities{lineEntity(0, 0, 1, 0), circleEntity(20, -5, 1)}
                             << QRectF(QPointF(0, -6), QPointF(21, 0));
}

// Left and right the smallest and largest x, top and bottom the smallest and
// largest y of what is drawn.
void DrawingGeometryTest::bounds()
{
    QFETCH(Entities, entities);
    QFETCH(QRectF, expected);

    const std::optional<QRectF> bounds = drawingBounds(entities);
    QVERIFY(bounds);
    for (const auto& [actual, wanted] : {std::pair{bounds->left(), expected.left()}, {bounds->right(), expected.right()},
                                         {bounds->top(), expected.top()}, {bounds->bottom(), expected.bottom()}})
        QVERIFY2(std::abs(actual - wanted) < 1e-12, qPrintable(QStringLiteral("%1 for %2").arg(actual).arg(wanted)));
    QVERIFY(!drawingBounds({}));
}

void DrawingGeometryTest::unitFactors()
{
    QCOMPARE(unitFactor(0), 1.0);
    QCOMPARE(unitFactor(1), 1000.0);
    QCOMPARE(unitFactor(2), 1000000.0);
    QCOMPARE(unitFactor(7), 1000000.0);
}

void DrawingGeometryTest::indexAnswersAsTheWalk_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<quint32>("seed");

    QTest::newRow("one entity") << 1 << 1u;
    QTest::newRow("five") << 5 << 2u;
    QTest::newRow("two hundred") << 200 << 3u;
    QTest::newRow("three thousand") << 3000 << 4u;
}

void DrawingGeometryTest::indexAnswersAsTheWalk()
{
    QFETCH(int, count);
    QFETCH(quint32, seed);

    QRandomGenerator random(seed);
    const Entities drawing = randomDrawing(random, count);
    const DrawingIndex index(drawing);
    Points queries{{qQNaN(), 1}, {1, qInf()}, {1e9, -1e9}};
    for (const DrawingEntity& e : drawing) {
        // On the entity's own points, where the nearest distance is 0 or a
        // tie between neighbours.
        queries += entityReperPoints(e).mid(0, 3);
    }
    for (int i = 0; i < 2000; ++i)
        queries.append(QPointF(random.bounded(160.0) - 30, random.bounded(160.0) - 30));
    // A hint carried from one query to the next, as the sum over a trace does.
    int hint = -1;
    for (const QPointF& q : qAsConst(queries)) {
        const double walk = distanceToNearestEntity(drawing, q.x(), q.y());
        const double indexed = index.distanceToNearest(q.x(), q.y());
        const double hinted = index.distanceToNearest(q.x(), q.y(), hint);
        if (walk != indexed || walk != hinted)
            QFAIL(qPrintable(QStringLiteral("at (%1, %2): walk %3, index %4").arg(q.x()).arg(q.y()).arg(walk).arg(indexed)));
    }
}

void DrawingGeometryTest::sumDoesNotDependOnThreads()
{
    QRandomGenerator random(7);
    const DrawingIndex index(randomDrawing(random, 300));
    Points points;
    for (int i = 0; i < 200000; ++i)
        points.append(QPointF(random.bounded(100.0), random.bounded(100.0)));
    points[5] = QPointF(qQNaN(), 0);

    QThreadPool* pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    pool->setMaxThreadCount(1);
    const double single = summedDistance(points, index);
    pool->setMaxThreadCount(4);
    const double several = summedDistance(points, index);
    pool->setMaxThreadCount(threads);
    QCOMPARE(single, several);
    QVERIFY(std::isfinite(single));

    double plain = 0;
    for (const QPointF& p : qAsConst(points)) {
        if (!qIsNaN(p.x()))
            plain += index.distanceToNearest(p.x(), p.y());
    }
    QVERIFY(std::abs(single - plain) < 1e-9 * plain);
    QCOMPARE(summedDistance({}, index), 0.0);
}

KALVORA_TEST_MAIN(DrawingGeometryTest)
#include "DrawingGeometryTest.moc"
