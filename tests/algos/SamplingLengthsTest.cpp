#include <QtTest>

#include <cmath>
#include <random>

#include "FuzzyCompare.h"
#include "ProfileFixtures.h"
#include "SampledProfileCache.h"
#include "SamplingLengths.h"
#include "TestMain.h"

namespace {

using Window = QPair<double, double>;

// Which points each window holds, read plainly: windows laid as described,
// every point to the first window that contains it.
QVector<ProfileData> referenceSplit(const ProfileData& profile, double l)
{
    const QVector<double>& x = profile.at(0);
    const double span = x.last() - x.first();
    int n = int(std::floor(span / l));
    double gap = 0;
    if (n > 5) {
        n = 5;
        gap = (span - 5 * l) / 4;
    } else if (n > 1) {
        gap = (span - n * l) / (n - 1);
    } else {
        n = 1;
    }
    QVector<Window> windows;
    double start = x.first();
    for (int k = 0; k < n; ++k) {
        windows.append({start, start + l});
        start = start + l + gap;
    }
    QVector<ProfileData> segments(n, ProfileData(2));
    for (int i = 0; i < x.size(); ++i) {
        for (int k = 0; k < n; ++k) {
            if (windows.at(k).first <= x.at(i) && x.at(i) <= windows.at(k).second) {
                segments[k][0].append(x.at(i));
                segments[k][1].append(profile.at(1).at(i));
                break;
            }
        }
    }
    return segments;
}

ProfileData evenlySpaced(double span, double step)
{
    return fixtures::sampled(0, span, step, [](double x) { return std::sin(x); });
}

} // namespace

class SamplingLengthsTest : public QObject
{
    Q_OBJECT

private slots:
    void count_data()
    {
        QTest::addColumn<double>("span");
        QTest::addColumn<int>("expected");
        QTest::newRow("just short of one") << 99.99 << 0;
        QTest::newRow("exactly one") << 100.0 << 1;
        QTest::newRow("one and nine tenths") << 190.0 << 1;
        QTest::newRow("two and a half") << 250.0 << 2;
        QTest::newRow("exactly five") << 500.0 << 5;
        QTest::newRow("eight and three quarters") << 875.0 << 5;
        QTest::newRow("a hundred") << 10000.0 << 5;
    }

    void count()
    {
        QFETCH(double, span);
        QFETCH(int, expected);
        QCOMPARE(Algos::samplingLengthCount({3.0, 3.0 + span}, 100), expected);
    }

    void countOfNothing()
    {
        QCOMPARE(Algos::samplingLengthCount({}, 100), 0);
        QCOMPARE(Algos::samplingLengthCount({0, std::numeric_limits<double>::infinity()}, 100), 0);
        QVERIFY(Algos::splitIntoSamplingLengths(ProfileData(), 100).isEmpty());
        QVERIFY(Algos::splitIntoSamplingLengths(ProfileData(2), 100).isEmpty());
        QVERIFY(Algos::splitIntoSamplingLengths(ProfileData{{1, 2, 3}}, 100).isEmpty());
    }

    // Each row: span and sampling length, and the first and last x of every segment.
    void windows_data()
    {
        QTest::addColumn<double>("span");
        QTest::addColumn<double>("samplingLength");
        QTest::addColumn<QVector<Window>>("expected");
        QTest::newRow("8.75 lengths: five with gaps of 0.9375")
            << 140.0 << 16.0 << QVector<Window>{{0, 16}, {31, 47}, {62, 78}, {93, 109}, {124, 140}};
        QTest::newRow("2.5 lengths: two, the middle in neither") << 40.0 << 16.0 << QVector<Window>{{0, 16}, {24, 40}};
        QTest::newRow("1.9 lengths: one from the first point") << 19.0 << 10.0 << QVector<Window>{{0, 10}};
        QTest::newRow("shorter than one: one window all the same") << 7.0 << 10.0 << QVector<Window>{{0, 7}};
        QTest::newRow("touching windows: the shared point is the first's")
            << 20.0 << 10.0 << QVector<Window>{{0, 10}, {11, 20}};
    }

    void windows()
    {
        QFETCH(double, span);
        QFETCH(double, samplingLength);
        QFETCH(QVector<Window>, expected);
        const QVector<ProfileData> segments = Algos::splitIntoSamplingLengths(evenlySpaced(span, 1), samplingLength);
        QVector<Window> actual;
        for (const ProfileData& segment : segments) {
            QCOMPARE(segment.size(), 2);
            QCOMPARE(segment.at(0).size(), segment.at(1).size());
            actual.append({segment.at(0).first(), segment.at(0).last()});
        }
        QCOMPARE(actual, expected);
    }

    // The split takes runs of the profile when x ascends, and sorts point by
    // point when it does not; both must hold what a plain reading gives.
    void splitEqualsPlainReading_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::addColumn<double>("samplingLength");
        QTest::newRow("ascending, gaps") << fixtures::randomProfile(5000, 1, 0.3) << 170.0;
        ProfileData repeated = fixtures::sampled(0, 100, 1, [](double x) { return x; });
        for (int i = 0; i < repeated.at(0).size(); i += 3) {
            repeated[0].insert(i, repeated.at(0).at(i));
            repeated[1].insert(i, -repeated.at(1).at(i));
        }
        QTest::newRow("ascending, repeated x") << repeated << 25.0;
        ProfileData shuffled = fixtures::randomProfile(3000, 2);
        std::mt19937 random(5);
        std::shuffle(shuffled[0].begin(), shuffled[0].end(), random);
        QTest::newRow("x out of order") << shuffled << 400.0;
        ProfileData withNan = fixtures::randomProfile(3000, 3);
        withNan[0][1700] = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("x not a number") << withNan << 400.0;
    }

    void splitEqualsPlainReading()
    {
        QFETCH(ProfileData, profile);
        QFETCH(double, samplingLength);
        QCOMPARE(Algos::splitIntoSamplingLengths(profile, samplingLength), referenceSplit(profile, samplingLength));
    }

    // Keys every micrometre from 350 to 400 um as they come back from
    // millimetres (350 as 350.00000000000006): the extent still spans five
    // sampling lengths of 10 um, each holding the points it holds with the
    // keys as sampled.
    void keysOffByARounding()
    {
        const ProfileData sampled = fixtures::sampled(350, 400, 1, [](double x) { return x; });
        ProfileData readBack = sampled;
        readBack[0] = fixtures::readBackFromMillimetres(sampled[0]);
        QVERIFY(readBack[0].last() - readBack[0].first() < 50);
        QCOMPARE(Algos::samplingLengthCount(readBack[0], 10), 5);
        const QVector<ProfileData> segments = Algos::splitIntoSamplingLengths(readBack, 10);
        const QVector<ProfileData> expected = Algos::splitIntoSamplingLengths(sampled, 10);
        QCOMPARE(segments.size(), expected.size());
        for (int i = 0; i < segments.size(); ++i)
            QCOMPARE(segments[i][1], expected[i][1]);
    }

    // A copy of a profile shares its columns and finds the same entry; a copy
    // that was changed, or another sampling length, does not.
    void cacheRecognisesTheSameProfile()
    {
        Algos::SampledProfileCache cache;
        ProfileData profile = fixtures::randomProfile(1000, 1);
        const auto first = cache.get(profile, 100);
        const ProfileData copy = profile;
        QCOMPARE(cache.get(copy, 100), first);
        QVERIFY(cache.get(profile, 200) != first);

        profile[1][500] += 1;
        const auto changed = cache.get(profile, 100);
        QVERIFY(changed != first);
        QCOMPARE(changed->profile().at(1).at(500), copy.at(1).at(500) + 1);
        QCOMPARE(first->profile().at(1).at(500), copy.at(1).at(500));
    }

    void meanLineThroughColumns()
    {
        const ProfileData profile = fixtures::sampled(0, 10, 1, [](double x) { return 3 - 0.5 * x; });
        const Algos::RMS line = Algos::meanLine(profile);
        KALVORA_COMPARE_NEAR(line.coefficient(0), 3, 1e-12);
        KALVORA_COMPARE_NEAR(line.coefficient(1), -0.5, 1e-12);
        QVERIFY(!Algos::meanLine(ProfileData{{1, 2}}).isValid());
    }
};

KALVORA_TEST_MAIN(SamplingLengthsTest)
#include "SamplingLengthsTest.moc"
