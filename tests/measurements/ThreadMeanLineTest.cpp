#include "measurements/math/LineFit.h"
#include "measurements/math/ThreadMeanLine.h"

#include "FuzzyCompare.h"
#include "TestMain.h"
#include "ThreadProfile.h"

#include <cmath>

using namespace MeasurementMath;

namespace {

QVector<QPointF> pointsOf(const QVector<double>& values)
{
    QVector<QPointF> points;
    for (int i = 0; i < values.size(); ++i)
        points.append(QPointF(i, values.at(i)));
    return points;
}

SlopedLine firstFit(const QVector<QPointF>& points)
{
    return fitLine(points.cbegin(), points.cend());
}

// The indices of the first points on the other side of the line, as the
// search counts crossings.
QVector<int> crossings(const QVector<QPointF>& points, const SlopedLine& line)
{
    QVector<int> result;
    const auto side = [&line](const QPointF& p) { return p.y() - (line.b + line.k * p.x()) > 0; };
    for (int i = 1; i < points.size(); ++i) {
        if (side(points.at(i)) != side(points.at(i - 1)))
            result.append(i);
    }
    return result;
}

} // namespace

class ThreadMeanLineTest : public QObject
{
    Q_OBJECT
private slots:
    void spreadOfCrossingIntervals();
    void intervalCountKeptNearFirst();
    void noCrossing();
    void rotationAndShift();
    void tiltedTrapezoidThread_data();
    void tiltedTrapezoidThread();
    void equalIntervalsKeepFirstFit();
    void profileOnItsLineKeepsFirstFit();
};

// Crossings of the line y = 0 at the points 1, 4, 5 and 8: a point on the
// line is none, and the last point is never examined. The piece before the
// first crossing goes, and so does the odd third interval.
void ThreadMeanLineTest::spreadOfCrossingIntervals()
{
    ThreadMeanLine search(pointsOf({1, -1, -1, -1, 1, -1, 0, -1, 1, 1, -1}));
    const double spread = search.crossingIntervalSpread(SlopedLine{0, 0});
    KALVORA_COMPARE_NEAR(spread, std::sqrt(13.0) - std::sqrt(5.0), 1e-12);
}

// The first evaluation fixes the count of intervals; a later line with 2
// intervals fewer is measured, one with 4 fewer is refused.
void ThreadMeanLineTest::intervalCountKeptNearFirst()
{
    // Ten ridges two points wide (the last two lower than the rest) between
    // grooves at -1.
    const QVector<double> ridges{3, 3, 3, 3, 3, 3, 3, 3, 2, 1};
    QVector<double> values;
    for (double ridge : ridges)
        values << ridge << ridge << -1 << -1;
    ThreadMeanLine search(pointsOf(values));

    // y = 0 crosses at every flank (19 times, the last point not examined):
    // 18 intervals.
    const double first = search.crossingIntervalSpread(SlopedLine{0, 0});
    QVERIFY(first > 0 && first < ThreadMeanLine::kNoCrossings);
    // y = 1.5 passes above the last ridge: 16 intervals.
    QVERIFY(search.crossingIntervalSpread(SlopedLine{0, 1.5}) < ThreadMeanLine::kNoCrossings);
    // y = 2.5 passes above the last two: 14 intervals.
    QCOMPARE(search.crossingIntervalSpread(SlopedLine{0, 2.5}), ThreadMeanLine::kNoCrossings);
    // The count is fixed by the first evaluation: a fresh search takes 14.
    QVERIFY(ThreadMeanLine(pointsOf(values)).crossingIntervalSpread(SlopedLine{0, 2.5})
            < ThreadMeanLine::kNoCrossings);
}

void ThreadMeanLineTest::noCrossing()
{
    ThreadMeanLine search(pointsOf({1, 2, 3}));
    QCOMPARE(search.crossingIntervalSpread(SlopedLine{0, 0}), ThreadMeanLine::kNoCrossings);
    ThreadMeanLine empty({});
    QCOMPARE(empty.crossingIntervalSpread(SlopedLine{0, 0}), ThreadMeanLine::kNoCrossings);
}

// Rotation turns the line's stretch over the profile's first and last keys
// about its middle, clockwise for positive degrees; the shift raises it.
void ThreadMeanLineTest::rotationAndShift()
{
    const ThreadMeanLine search(pointsOf({0, 0, 0, 0, 0}));
    const SlopedLine turned = search.rotateLine(SlopedLine{0, 1}, 45);
    KALVORA_COMPARE_NEAR(turned.k, -std::sqrt(0.5), 1e-12);
    KALVORA_COMPARE_NEAR(turned.b + turned.k * 2, 1.0, 1e-12);
    const SlopedLine back = search.rotateLine(turned, -45);
    KALVORA_COMPARE_NEAR(back.b + back.k * 2, 1.0, 1e-12);

    const SlopedLine shifted = ThreadMeanLine::shiftLine(SlopedLine{0.5, 1}, -3);
    QCOMPARE(shifted.k, 0.5);
    QCOMPARE(shifted.b, -2.0);
}

void ThreadMeanLineTest::tiltedTrapezoidThread_data()
{
    QTest::addColumn<double>("start");
    QTest::newRow("starting in a root") << 0.13;
    QTest::newRow("starting on a flank") << 0.5;
    QTest::newRow("starting on a crest") << 0.7;
}

// Pitch 1 with a crest flat of 0.2, a root flat of 0.4 and flanks of 0.2:
// grooves and ridges are equally wide a quarter of the depth above the root,
// not on the least-squares line, which runs at 0.4 of the depth. The profile
// rises by 0.1 per unit, so the first fit is off in height and slightly in
// slope too.
void ThreadMeanLineTest::tiltedTrapezoidThread()
{
    QFETCH(double, start);
    ThreadProfile profile;
    profile.tilt = 0.1;
    const double step = 0.001;
    const QVector<QPointF> points = profile.sampled(start, step, 10001);
    const SlopedLine first = firstFit(points);
    const SlopedLine expected{profile.tilt, profile.depth / 4};
    QVERIFY(std::abs(first.b - expected.b) > 10 * step);

    const SlopedLine line = ThreadMeanLine(points).search(first);
    KALVORA_COMPARE_NEAR(line.k, 0.1, 2e-4);
    const QVector<int> found = crossings(points, line);
    const QVector<int> wanted = crossings(points, expected);
    QCOMPARE(found.size(), wanted.size());
    for (int i = 0; i < found.size(); ++i)
        QVERIFY2(std::abs(found.at(i) - wanted.at(i)) <= 1, qPrintable(QStringLiteral("crossing %1").arg(i)));
}

// A square wave crossing its least-squares line at equal intervals (each
// exactly 5 long, so that their spread is exactly 0): every try fails and the
// first fit stands.
void ThreadMeanLineTest::equalIntervalsKeepFirstFit()
{
    QVector<double> values;
    for (int i = 0; i < 400; ++i)
        values.append(i % 6 < 3 ? 2 : -2);
    const QVector<QPointF> points = pointsOf(values);
    const SlopedLine first = firstFit(points);
    ThreadMeanLine search(points);
    QCOMPARE(search.crossingIntervalSpread(first), 0.0);
    const SlopedLine line = search.search(first);
    QCOMPARE(line.k, first.k);
    QCOMPARE(line.b, first.b);
}

void ThreadMeanLineTest::profileOnItsLineKeepsFirstFit()
{
    const QVector<QPointF> points = pointsOf({1, 1.5, 2, 2.5, 3});
    const SlopedLine first = firstFit(points);
    const SlopedLine line = ThreadMeanLine(points).search(first);
    QCOMPARE(line.k, first.k);
    QCOMPARE(line.b, first.b);
}

KALVORA_TEST_MAIN(ThreadMeanLineTest)
#include "ThreadMeanLineTest.moc"
