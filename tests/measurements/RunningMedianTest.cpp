#include "measurements/math/RunningMedian.h"

#include "../algos/ProfileFixtures.h"
#include "TestMain.h"

#include <algorithm>
#include <random>

using namespace MeasurementMath;

namespace {

// The running median step by step as it is described: a sorted copy of the
// held values for every median.
QVector<double> referenceMedians(const QVector<double>& keys, const QVector<double>& values, double window)
{
    QVector<double> medians;
    if (keys.isEmpty())
        return medians;
    QVector<double> heldValues{values[0]};
    QVector<double> heldKeys{keys[0]};
    int e = 0;
    for (; e < keys.size() && keys[e] - keys[0] < window / 2; ++e) {
        heldValues.append(values[e]);
        heldKeys.append(keys[e]);
    }
    for (int i = e; i < keys.size() && keys.last() - keys[i] >= window / 2; ++i) {
        if (keys[i] - heldKeys.first() > window) {
            QVector<double> sorted = heldValues;
            std::sort(sorted.begin(), sorted.end());
            medians.append(sorted[sorted.size() / 2]);
            heldValues.removeFirst();
            heldKeys.removeFirst();
        }
        heldValues.append(values[i]);
        heldKeys.append(keys[i]);
    }
    return medians;
}

QVector<double> evenKeys(int count, double first, double step)
{
    QVector<double> keys;
    for (int i = 0; i < count; ++i)
        keys.append(first + i * step);
    return keys;
}

} // namespace

class RunningMedianTest : public QObject
{
    Q_OBJECT
private slots:
    void windowOfKeysEveryTen();
    void noMedian_data();
    void noMedian();
    void equalsSortedCopy_data();
    void equalsSortedCopy();
    void curveMovesKeysOnByWindow();
    void keysOffByARounding();
};

// Values equal to the keys show what the window held: the first median is
// taken at key 260 over 0 (twice) and 10 .. 250, the next ones one point on
// each, and the last at 870, the last key at least 125 from the end (1000).
void RunningMedianTest::windowOfKeysEveryTen()
{
    const QVector<double> keys = evenKeys(101, 0, 10);
    const QVector<double> medians = runningMedian(keys, keys, 250);
    QCOMPARE(medians.size(), 62);
    for (int k = 0; k < medians.size(); ++k)
        QCOMPARE(medians.at(k), 120.0 + 10 * k);
}

void RunningMedianTest::noMedian_data()
{
    QTest::addColumn<QVector<double>>("keys");
    QTest::addColumn<double>("window");

    QTest::newRow("empty") << QVector<double>() << 250.0;
    QTest::newRow("one point") << QVector<double>{3} << 250.0;
    QTest::newRow("shorter than 1.5 windows") << evenKeys(37, 0, 10) << 250.0;
    QTest::newRow("keys falling") << evenKeys(200, 0, -10) << 250.0;
    QTest::newRow("all keys equal") << QVector<double>(50, 7.0) << 0.25;
}

void RunningMedianTest::noMedian()
{
    QFETCH(QVector<double>, keys);
    QFETCH(double, window);
    QVERIFY(runningMedian(keys, keys, window).isEmpty());
    QVERIFY(runningMedianCurve({keys, keys}, window).isEmpty());
}

void RunningMedianTest::equalsSortedCopy_data()
{
    QTest::addColumn<int>("seed");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("window");
    QTest::addColumn<int>("distinctValues"); // small numbers give many ties

    QTest::newRow("window of about 25 points") << 1 << 2000 << 0.25 << 1000000;
    QTest::newRow("window of about 250 points, ties") << 2 << 5000 << 2.5 << 7;
    QTest::newRow("window of about 500 points, ties") << 5 << 6000 << 5.0 << 40;
    QTest::newRow("window of 2 points") << 3 << 500 << 0.02 << 1000000;
    QTest::newRow("window wider than the data") << 4 << 300 << 100.0 << 1000000;
}

// Keys at uneven spacing (so the window grows and shrinks), values random.
void RunningMedianTest::equalsSortedCopy()
{
    QFETCH(int, seed);
    QFETCH(int, count);
    QFETCH(double, window);
    QFETCH(int, distinctValues);

    std::mt19937 random(seed);
    std::uniform_real_distribution<double> spacing(0, 0.02);
    std::uniform_int_distribution<int> value(0, distinctValues - 1);
    QVector<double> keys{0};
    QVector<double> values{double(value(random))};
    for (int i = 1; i < count; ++i) {
        keys.append(keys.last() + spacing(random));
        values.append(value(random) * 0.001);
    }
    const QVector<double> expected = referenceMedians(keys, values, window);
    QCOMPARE(runningMedian(keys, values, window), expected);
}

void RunningMedianTest::curveMovesKeysOnByWindow()
{
    const QVector<double> keys = evenKeys(101, 0, 10);
    QVector<double> values;
    for (double key : keys)
        values.append(key * key);
    const DeviationCurve curve = runningMedianCurve({keys, values}, 250);
    QCOMPARE(curve.deviations, runningMedian(keys, values, 250));
    QCOMPARE(curve.keys.size(), curve.deviations.size());
    for (int k = 0; k < curve.size(); ++k)
        QCOMPARE(curve.keys.at(k), keys.at(k) + 250);
}

// Keys every 10 um from 100 um as they come back from millimetres (350 as
// 350.00000000000006): the windows hold the points they hold with the keys as
// sampled, so the medians are the same.
void RunningMedianTest::keysOffByARounding()
{
    const QVector<double> keys = evenKeys(60, 100, 10);
    const QVector<double> readBack = fixtures::readBackFromMillimetres(keys);
    QVERIFY(readBack != keys);
    QCOMPARE(runningMedian(readBack, keys, 250), runningMedian(keys, keys, 250));
}

KALVORA_TEST_MAIN(RunningMedianTest)
#include "RunningMedianTest.moc"
