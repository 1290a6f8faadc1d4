#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>

#include "DebugCapture.h"
#include "FuzzyCompare.h"
#include "NearestPointSearch.h"
#include "TestMain.h"
#include "TestTraces.h"
#include "TraceJoining.h"
#include "algos/Geometry.h"

namespace {

// A surface with features at several wavelengths, so that one overlap
// position fits clearly best.
double surface(double x)
{
    return 50 * std::sin(x / 300) + 20 * std::sin(x / 77) + 5 * std::cos(x / 13);
}

// The surface from `from` to `to` in steps of `step`, placed at x - xOffset
// and lifted by `lift`.
ProfileData surfaceStretch(double from, double to, double step, double xOffset = 0, double lift = 0)
{
    ProfileData data(2);
    for (double x = from; x <= to + 1e-9; x += step) {
        data[0].append(x - xOffset);
        data[1].append(surface(x) + lift);
    }
    return data;
}

void fill(AbstractTrace& trace, const ProfileData& data)
{
    for (int i = 0; i < data[0].size(); ++i)
        trace.addPoint({data[0][i], data[1][i]});
    trace.applyPostProcessors();
}

ProfileData randomPoints(int count, quint32 seed, double xSpan)
{
    QRandomGenerator random(seed);
    ProfileData data(2);
    for (int i = 0; i < count; ++i) {
        // Coarse x values repeat, so ties in x are searched too.
        data[0].append(std::round(random.generateDouble() * xSpan) / 4);
        data[1].append(random.generateDouble() * 100 - 50);
    }
    return data;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

Q_DECLARE_METATYPE(ProfileData)

class TraceJoiningTest : public QObject
{
    Q_OBJECT

private slots:
    void nearestSearchGivesTheBruteForceSum_data()
    {
        QTest::addColumn<ProfileData>("reference");
        QTest::addColumn<ProfileData>("points");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("empty reference") << ProfileData(2) << randomPoints(5, 1, 40);
        QTest::newRow("no points") << randomPoints(5, 2, 40) << ProfileData(2);
        QTest::newRow("one reference point") << randomPoints(1, 3, 40) << randomPoints(20, 4, 40);
        QTest::newRow("dense reference") << randomPoints(3000, 5, 400) << randomPoints(200, 6, 400);
        QTest::newRow("points beyond the reference") << randomPoints(300, 7, 40) << randomPoints(50, 8, 4000);
        QTest::newRow("many equal x") << randomPoints(500, 9, 4) << randomPoints(100, 10, 8);
        QTest::newRow("non-finite values")
            << ProfileData{{0, 1, nan, 2, inf, 3}, {0, nan, 1, 2, 0, -inf}}
            << ProfileData{{0.5, nan, 2.5, 1, inf}, {0, 1, nan, 5, 1}};
    }

    void nearestSearchGivesTheBruteForceSum()
    {
        QFETCH(ProfileData, reference);
        QFETCH(ProfileData, points);
        const double fast = NearestPointSearch(reference).distanceSum(points);
        const double brute = Algos::nearestDistanceSum(reference, points);
        QVERIFY2(sameBits(fast, brute), qPrintable(QStringLiteral("%1 != %2").arg(fast, 0, 'g', 17).arg(brute, 0, 'g', 17)));
    }

    void overlapRecoversAKnownShift()
    {
        // The right trace saw the surface from 7 mm on, in its own x from 0
        // and 200 µm higher; the left one saw it up to 10 mm.
        CountingTrace left;
        CountingTrace right;
        fill(left, surfaceStretch(0, 10000, 1));
        fill(right, surfaceStretch(7000, 17000, 1, 7000, 200));

        const ProfileData joined = joinTraces(&left, &right, 3);

        // The left points before the shifted right trace's start, then all
        // of the right trace.
        const int firstRight = joined[0].size() - 10001;
        const double firstRightX = joined[0][firstRight];
        KALVORA_COMPARE_NEAR(firstRightX, 7000, 0.5);
        QCOMPARE(firstRight, int(std::ceil(firstRightX)));
        for (int i = 0; i < firstRight; ++i)
            QCOMPARE(joined[0][i], double(i));
        const double heightShift = joined[1][firstRight] - (surface(7000) + 200);
        KALVORA_COMPARE_NEAR(heightShift, -200, 0.5);
        for (int i = firstRight; i < joined[0].size(); i += 997)
            KALVORA_COMPARE_NEAR(joined[1][i], surface(joined[0][i]), 2);
    }

    void emptyInputsGiveTheUnshiftedUnion_data()
    {
        QTest::addColumn<ProfileData>("left");
        QTest::addColumn<ProfileData>("right");
        QTest::addColumn<double>("overlapMm");
        QTest::addColumn<ProfileData>("joined");
        const ProfileData left{{0, 1, 2, 3}, {5, 6, 7, 8}};
        const ProfileData right{{2, 4}, {1, 1}};
        QTest::newRow("empty left") << ProfileData(2) << right << 1.0 << right;
        QTest::newRow("empty right") << left << ProfileData(2) << 1.0 << left;
        QTest::newRow("both empty") << ProfileData(2) << ProfileData(2) << 1.0 << ProfileData(2);
        QTest::newRow("zero overlap") << left << right << 0.0 << ProfileData{{0, 1, 2, 4}, {5, 6, 1, 1}};
        QTest::newRow("negative overlap") << left << right << -1.0 << ProfileData{{0, 1, 2, 4}, {5, 6, 1, 1}};
    }

    void emptyInputsGiveTheUnshiftedUnion()
    {
        QFETCH(ProfileData, left);
        QFETCH(ProfileData, right);
        QFETCH(double, overlapMm);
        QFETCH(ProfileData, joined);
        CountingTrace leftTrace;
        CountingTrace rightTrace;
        fill(leftTrace, left);
        fill(rightTrace, right);
        QCOMPARE(joinTraces(&leftTrace, &rightTrace, overlapMm), joined);
    }

    void overlapLongerThanTheLeftTraceTakesAllOfIt()
    {
        const ProfileData left{{3, 1, 2, 4}, {1, 2, 3, 4}};
        const ProfileData right{{10, 11, 20}, {0, 0, 0}};
        const OverlapSegments segments = cutOverlapSegments(left, right, 5);
        QCOMPARE(segments.tail, left);
        QCOMPARE(segments.head, (ProfileData{{10, 11}, {0, 0}}));
    }

    void thinningKeepsPointsAHundredthOfTheOverlapApart()
    {
        const ProfileData segment = surfaceStretch(0, 1000, 1);
        const ProfileData thinned = thinOut(segment, 1000);
        QCOMPARE(thinned[0].size(), 101);
        for (int k = 0; k < thinned[0].size(); ++k)
            QCOMPARE(thinned[0][k], 10.0 * k);
    }

    // The k-th mark is k times the overlap, divided by 100: for an overlap of
    // 10 the third is exactly 0.3, where 3 * 0.1 would lie just beyond it.
    void thinningMarksAreMultiplesOfTheOverlapDividedBy100()
    {
        const ProfileData segment{{0, 0.1, 0.2, 0.3}, {0, 0, 0, 0}};
        QCOMPARE(thinOut(segment, 10), segment);
    }

    void alignedSegmentsStopAfterOnePassWithoutDebugLine()
    {
        const ProfileData reference = surfaceStretch(0, 500, 1);
        ProfileData moving = thinOut(reference, 500);
        DebugCapture capture;
        const SegmentShift shift = alignSegments(reference, moving);
        QCOMPARE(shift.x, 0.0);
        QCOMPARE(shift.height, 0.0);
        QVERIFY(!capture.contains(QStringLiteral("beforeError")));
    }

    void rightTraceBeforeTheLeftOneGivesTheRightDataAlone()
    {
        const ProfileData left{{5, 6, 7}, {1, 1, 1}};
        const ProfileData right{{2, 3}, {0, 0}};
        QCOMPARE(mergeJoined(left, right), right);
    }
};

KALVORA_TEST_MAIN(TraceJoiningTest)
#include "TraceJoiningTest.moc"
