#include "ColumnCoverage.h"

#include "plot/CurveDataSummary.h"

#include "TestMain.h"

#include <qcustomplot.h>

#include <QtTest>

#include <cmath>
#include <limits>
#include <random>

// Keys and values here are pixels: the window's edges lie on whole keys, so
// that a column of the summary is a column [k, k + 1) of the coverage.
class CurveDataSummaryTest : public QObject
{
    Q_OBJECT
private slots:
    void spansCoverWhatAllPointsCover_data();
    void spansCoverWhatAllPointsCover();
    void unsortedStretchesAreDrawnWhole();
    void appendingInBatchesGivesTheSameSummary();
};

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

using Data = QVector<QCPCurveData>;
using Spans = QVector<CurveDataSummary::Span>;

// count points with keys rising from 0 to width, heights around 300 with
// noise of the given size.
Data noisy(int count, double width, double noise, unsigned seed = 5)
{
    std::mt19937 generator(seed);
    std::normal_distribution<double> height(300, noise);
    Data data;
    for (int i = 0; i < count; ++i)
        data.append(QCPCurveData(i, width * i / count, height(generator)));
    return data;
}

QVector<double> wholeKeys(int from, int to)
{
    QVector<double> edges;
    for (int key = from; key <= to; ++key)
        edges.append(key);
    return edges;
}

QVector<QPointF> polyline(const Data& data, int from, int to)
{
    QVector<QPointF> points;
    for (int i = from; i < to; ++i)
        points.append(QPointF(data.at(i).key, data.at(i).value));
    return points;
}

QVector<QPointF> polyline(const Data& data, const Spans& spans)
{
    QVector<QPointF> points;
    for (const CurveDataSummary::Span& span : spans)
        points += polyline(data, span.from, span.to);
    return points;
}

int pointCount(const Spans& spans)
{
    int count = 0;
    for (const CurveDataSummary::Span& span : spans)
        count += span.to - span.from;
    return count;
}

} // namespace

Q_DECLARE_METATYPE(Data)

void CurveDataSummaryTest::spansCoverWhatAllPointsCover_data()
{
    QTest::addColumn<Data>("data");
    QTest::addColumn<int>("from");       // the stretch of data drawn
    QTest::addColumn<int>("to");         // -1 for the end
    QTest::addColumn<int>("windowFrom"); // the key window, in whole keys
    QTest::addColumn<int>("windowTo");
    QTest::addColumn<int>("pointsAtMost"); // visited points; 0 for no bound

    const Data dense = noisy(200000, 400, 60);
    QTest::newRow("dense, window inside") << dense << 0 << -1 << 100 << 300 << 4 * 200 + 8;
    QTest::newRow("dense, window beyond both ends") << dense << 0 << -1 << -50 << 450 << 4 * 400 + 8;
    QTest::newRow("dense, a stretch of the data") << dense << 70000 << 90000 << 100 << 300 << 4 * 40 + 8;
    QTest::newRow("sparse, segments entering from both sides") << noisy(300, 400, 60) << 0 << -1 << 100 << 300 << 0;
    QTest::newRow("window left of the data") << noisy(3000, 400, 60) << 0 << -1 << -300 << -100 << 4;
    QTest::newRow("window right of the data") << noisy(3000, 400, 60) << 0 << -1 << 500 << 700 << 4;
    QTest::newRow("window between two points") << noisy(40, 400, 60) << 0 << -1 << 101 << 105 << 4;

    Data gaps = dense;
    for (int i = 49000; i < 51000; ++i) // across the window's left edge
        gaps[i].value = kNaN;
    for (int i = 100000; i < 100300; ++i)
        gaps[i].value = kNaN;
    for (int i = 110000; i < 140000; i += 333)
        gaps[i].value = kNaN;
    gaps[120000].key = kNaN;
    QTest::newRow("gaps") << gaps << 0 << -1 << 100 << 300 << 0;

    Data fallingBack = dense;
    for (int i = 0; i < fallingBack.size(); ++i)
        fallingBack[i].key -= (i / 20000) * 15.0;
    QTest::newRow("keys falling back now and then") << fallingBack << 0 << -1 << 100 << 300 << 0;

    Data steps = dense;
    for (QCPCurveData& point : steps)
        point.key = std::floor(point.key / 10) * 10;
    QTest::newRow("runs of equal keys") << steps << 0 << -1 << 100 << 300 << 0;

    Data contour;
    for (int i = 0; i < 20000; ++i)
        contour.append(QCPCurveData(i, 200 + 150 * std::cos(i * 0.001), 300 + 150 * std::sin(i * 0.001)));
    QTest::newRow("a contour, keys falling and rising") << contour << 0 << -1 << 100 << 300 << 0;
}

// The polyline of the spans covers, column by column within the window,
// exactly the heights that the polyline of all points covers.
void CurveDataSummaryTest::spansCoverWhatAllPointsCover()
{
    QFETCH(Data, data);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, windowFrom);
    QFETCH(int, windowTo);
    QFETCH(int, pointsAtMost);
    if (to < 0)
        to = data.size();
    CurveDataSummary summary;
    summary.build(data.constData(), data.size());
    const Spans spans = summary.visibleSpans(data.constData(), from, to, wholeKeys(windowFrom, windowTo));

    const ColumnCoverage all = columnCoverage(polyline(data, from, to), windowFrom, windowTo);
    const ColumnCoverage drawn = columnCoverage(polyline(data, spans), windowFrom, windowTo);
    const QString difference = coverageDifference(all, drawn);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    for (const CurveDataSummary::Span& span : spans)
        QVERIFY(span.from >= from && span.to <= to && span.from < span.to);
    if (pointsAtMost > 0)
        QVERIFY2(pointCount(spans) <= pointsAtMost, qPrintable(QString::number(pointCount(spans))));
}

// Stretches whose keys do not rise, or rise too briefly, are not summarized.
void CurveDataSummaryTest::unsortedStretchesAreDrawnWhole()
{
    Data data = noisy(5000, 400, 60);
    for (int i = 1000; i < 2000; ++i)
        data[i].key = 400 - data[i].key;
    for (int i = 3000; i < 3010; ++i)
        data[i].key = 3000 - i;
    CurveDataSummary summary;
    summary.build(data.constData(), data.size());
    const Spans spans = summary.visibleSpans(data.constData(), 0, data.size(), wholeKeys(390, 395));
    QVERIFY(std::any_of(spans.begin(), spans.end(), [](const CurveDataSummary::Span& span) {
        return span.from <= 1000 && span.to >= 2000;
    }));
    QVERIFY(std::any_of(spans.begin(), spans.end(), [](const CurveDataSummary::Span& span) {
        return span.from <= 3000 && span.to >= 3010;
    }));
    QCOMPARE(summary.visibleSpans(data.constData(), 0, data.size(), {}), Spans({{0, data.size()}}));
}

// A live recording appends batches of points; the summary of the earlier ones
// stays and the result is the summary of all points at once, whatever the
// batches, also where a batch starts a new run, breaks one or ends in a gap.
void CurveDataSummaryTest::appendingInBatchesGivesTheSameSummary()
{
    Data data = noisy(30000, 400, 60);
    for (int i = 7000; i < 7100; ++i)
        data[i].value = kNaN;
    for (int i = 12000; i < data.size(); ++i)
        data[i].key -= 100;
    for (int i = 20000; i < 20020; ++i)
        data[i].key = 20020 - i;
    data[25000].key = kNaN;
    CurveDataSummary atOnce;
    atOnce.build(data.constData(), data.size());

    const int batches[] = {1, 8, 100, 500, 31, 1, 2999, 7};
    CurveDataSummary inBatches;
    int count = 0;
    for (int batch = 0; count < data.size(); batch = (batch + 1) % 8) {
        count = qMin(data.size(), count + batches[batch]);
        inBatches.append(data.constData(), count);
        QCOMPARE(inBatches.size(), count);
    }
    QVERIFY(inBatches == atOnce);
    const QVector<double> edges = wholeKeys(100, 300);
    QCOMPARE(inBatches.visibleSpans(data.constData(), 0, data.size(), edges),
             atOnce.visibleSpans(data.constData(), 0, data.size(), edges));
}

KALVORA_TEST_MAIN(CurveDataSummaryTest)
#include "CurveDataSummaryTest.moc"
