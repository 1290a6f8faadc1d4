#include "plot/MinMaxPyramid.h"

#include "TestMain.h"

#include <qcustomplot.h>

#include <QtTest>

#include <cmath>
#include <functional>
#include <limits>
#include <random>

class MinMaxPyramidTest : public QObject
{
    Q_OBJECT
private slots:
    void extremesOfAnyRange_data();
    void extremesOfAnyRange();
    void appendingInBatchesBuildsTheSamePyramid();
};

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

using Values = std::function<double(int)>;

QVector<QCPCurveData> series(int count, const Values& value)
{
    QVector<QCPCurveData> data;
    for (int i = 0; i < count; ++i)
        data.append(QCPCurveData(i, i, value(i)));
    return data;
}

// The lowest and highest number of data[from, to), NaN when there is none.
QPair<double, double> bruteForce(const QVector<QCPCurveData>& data, int from, int to)
{
    double low = kNaN, high = kNaN;
    for (int i = from; i < to; ++i) {
        const double value = data.at(i).value;
        if (std::isnan(value))
            continue;
        if (std::isnan(low) || value < low)
            low = value;
        if (std::isnan(high) || value > high)
            high = value;
    }
    return {low, high};
}

QString check(const QVector<QCPCurveData>& data, const MinMaxPyramid& pyramid, int from, int to)
{
    const MinMaxPyramid::Extremes extremes = pyramid.extremes(data.constData(), from, to);
    const QPair<double, double> expected = bruteForce(data, from, to);
    auto valueAt = [&](int index) { return index >= from && index < to ? data.at(index).value : -1e300; };
    const bool none = std::isnan(expected.first);
    const bool same = none ? extremes.lowest == -1 && extremes.highest == -1
                           : valueAt(extremes.lowest) == expected.first && valueAt(extremes.highest) == expected.second;
    if (same)
        return QString();
    return QStringLiteral("[%1, %2): lowest at %3, highest at %4, wanted %5 and %6")
        .arg(from)
        .arg(to)
        .arg(extremes.lowest)
        .arg(extremes.highest)
        .arg(expected.first)
        .arg(expected.second);
}

} // namespace

Q_DECLARE_METATYPE(Values)

void MinMaxPyramidTest::extremesOfAnyRange_data()
{
    QTest::addColumn<Values>("value");
    QTest::newRow("noise") << Values([](int i) { return (i * 7919 % 1009) * 0.37; });
    QTest::newRow("rising") << Values([](int i) { return i * 0.5; });
    QTest::newRow("falling") << Values([](int i) { return -i * 0.5; });
    QTest::newRow("equal values") << Values([](int) { return 3.0; });
    QTest::newRow("NaN now and then") << Values([](int i) { return i % 7 == 0 ? kNaN : std::cos(i * 0.37); });
    QTest::newRow("long NaN stretches") << Values([](int i) { return (i / 300) % 2 ? kNaN : std::cos(i * 0.37); });
    QTest::newRow("infinities") << Values([](int i) {
        return i == 1234 ? std::numeric_limits<double>::infinity() : i == 2345 ? -std::numeric_limits<double>::infinity() : std::sin(i);
    });
}

void MinMaxPyramidTest::extremesOfAnyRange()
{
    QFETCH(Values, value);
    const QVector<QCPCurveData> data = series(5000, value);
    MinMaxPyramid pyramid;
    pyramid.append(data.constData(), data.size());

    std::mt19937 generator(3);
    std::uniform_int_distribution<int> index(0, data.size());
    for (int i = 0; i < 3000; ++i) {
        int from = index(generator), to = index(generator);
        if (from > to)
            std::swap(from, to);
        const QString difference = check(data, pyramid, from, to);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }
    // Ranges ending on and around the borders of the summarized blocks.
    for (int from : {0, 1, 15, 16, 17, 127, 128, 129, 2047, 2048}) {
        for (int to : {from, from + 1, from + 16, from + 128, from + 1025, data.size() - 1, data.size()}) {
            const QString difference = check(data, pyramid, from, qMin(to, data.size()));
            QVERIFY2(difference.isEmpty(), qPrintable(difference));
        }
    }
}

// Points appended at the end are summarized on their own.
void MinMaxPyramidTest::appendingInBatchesBuildsTheSamePyramid()
{
    const QVector<QCPCurveData> data = series(9000, [](int i) { return i % 11 == 0 ? kNaN : std::sin(i * 0.77) * i; });
    MinMaxPyramid atOnce;
    atOnce.append(data.constData(), data.size());
    MinMaxPyramid inBatches;
    const int batches[] = {1, 15, 1, 16, 17, 127, 129, 1000, 3, 2048};
    int count = 0;
    for (int batch = 0; count < data.size(); batch = (batch + 1) % 10) {
        count = qMin(data.size(), count + batches[batch]);
        inBatches.append(data.constData(), count);
        QCOMPARE(inBatches.size(), count);
    }
    QVERIFY(inBatches == atOnce);
}

KALVORA_TEST_MAIN(MinMaxPyramidTest)
#include "MinMaxPyramidTest.moc"
