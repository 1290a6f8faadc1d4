#include <QtTest>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <deque>
#include <random>

#include "AppSettings.h"
#include "ContourTrace.h"
#include "GaussFilter.h"
#include "FuzzyCompare.h"
#include "TestMain.h"
#include "TestTraces.h"

namespace {

void setSwitches(bool lowPass, bool radiusElimination)
{
    AppSettings::instance().servise.is_disabled_gauss_filter = lowPass;
    AppSettings::instance().servise.is_disabled_radius_elimination = radiusElimination;
}

QVector<double> evenly(int count, double step)
{
    QVector<double> values(count);
    for (int j = 0; j < count; ++j)
        values[j] = j * step;
    return values;
}

// A contour trace of the given columns, processed as at the end of a read.
std::unique_ptr<ContourTrace> processedTrace(const QVector<double>& xs, const QVector<double>& heights,
                                             int needlePressing = 1)
{
    auto trace = std::make_unique<ContourTrace>(ProfileData{xs, heights, QVector<double>(xs.size(), 0.0)});
    trace->needle_pressing = needlePressing;
    trace->tool_head_radius_down = 2;
    trace->tool_head_radius_up = 3;
    trace->double_sided_probe_high = 0.5;
    trace->needle_bias = 0.25;
    trace->applyPostProcessors();
    trace->processData();
    return trace;
}

// The tip radius removal as first written, one window over the whole trace:
// the reference that a rising trace must match bit for bit.
QVector<double> straightforwardTipRadius(const QVector<double>& x, const QVector<double>& y, double radius,
                                         bool needleDown)
{
    const int n = std::min(x.size(), y.size());
    const double half = radius / 2;
    const double radiusSquared = radius * radius;
    QVector<double> heights(n, 0.0);
    std::deque<int> window;
    int nextToTake = 0;
    for (int j = 0; j < n; ++j) {
        while (!window.empty() && x[window.front()] < x[j] - half)
            window.pop_front();
        while (nextToTake < n && x[nextToTake] <= x[j] + half)
            window.push_back(nextToTake++);
        double best = needleDown ? DBL_MAX : -DBL_MAX;
        bool reached = false;
        for (int k : window) {
            const double dx = x[j] - x[k];
            const double rise = std::sqrt(radiusSquared - dx * dx);
            const double term = needleDown ? y[k] - rise : y[k] + rise;
            if (std::isnan(term))
                continue;
            reached = true;
            best = needleDown ? std::min(best, term) : std::max(best, term);
        }
        heights[j] = reached ? best : (needleDown ? y[j] - radius : y[j] + radius);
    }
    return heights;
}

// The tip radius removal, stretch of rising x by stretch.
QVector<double> straightforwardTipRadiusByStretch(const QVector<double>& x, const QVector<double>& y, double radius,
                                                  bool needleDown)
{
    QVector<double> heights;
    for (int first = 0; first < x.size();) {
        int end = first + 1;
        while (end < x.size() && x[end] >= x[end - 1])
            ++end;
        heights += straightforwardTipRadius(x.mid(first, end - first), y.mid(first, end - first), radius, needleDown);
        first = end;
    }
    return heights;
}

QVector<double> straightforwardSpread(const QVector<double>& values)
{
    if (values.isEmpty())
        return values;
    QVector<double> spread;
    double current = values[0];
    int runLength = 1;
    for (int k = 1; k < values.size(); ++k) {
        if (values[k] == current) {
            ++runLength;
            continue;
        }
        for (int step = 0; step < runLength; ++step)
            spread.append(current + step * (values[k] - current) / runLength);
        current = values[k];
        runLength = 1;
    }
    for (int step = 0; step < runLength; ++step)
        spread.append(current);
    return spread;
}

// A contour trace's display store worked out pass after pass, each pass
// making a new column: the reference its processing must match bit for bit.
ProfileData straightforwardDisplay(const ProfileData& raw, const ContourTrace& trace, bool lowPass, bool elimination)
{
    const bool needleDown = trace.needle_pressing == 1;
    const double radius = needleDown ? trace.tool_head_radius_down : trace.tool_head_radius_up;
    QVector<double> x = straightforwardSpread(raw[0]);
    QVector<double> y = raw[1];
    if (lowPass && trace.measurement_mode == 0 && !x.isEmpty()) {
        const ProfileData filtered = Algos::gaussFilter({x, y}, DBL_MAX, radius);
        if (filtered.size() >= 2) {
            x = filtered[0];
            y = filtered[1];
        }
    }
    if (elimination && std::isfinite(radius) && radius >= 0)
        y = straightforwardTipRadiusByStretch(x, y, radius, needleDown);
    const int points = std::min(x.size(), y.size());
    for (int j = 0; j < points; ++j) {
        if (trace.needle_pressing != 0)
            y[j] += 1000 * trace.double_sided_probe_high;
        else
            x[j] += 1000 * trace.needle_bias;
    }
    return {x, y, raw[2]};
}

// Rising x with runs of equal values, -0.0 heights, a NaN height, and x
// stepping back twice; long enough for the tip's window to pass thousands of
// positions.
ProfileData bumpyContour(int count)
{
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> noise(-0.5, 0.5);
    ProfileData raw(3);
    for (int j = 0; j < count; ++j) {
        raw[0].append(std::floor(j / 3.0) * 0.2 - (j >= count / 2 ? 40 : 0) - (j >= 3 * count / 4 ? 0.1 : 0));
        raw[1].append(j % 11 == 0 ? -0.0 : 3 * std::sin(j * 0.05) + noise(random));
        raw[2].append(j % 5);
    }
    raw[1][count / 3] = qQNaN();
    return raw;
}

bool sameBits(const QVector<double>& a, const QVector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.constData(), b.constData(), sizeof(double) * size_t(a.size())) == 0;
}

// x that never decreases: even steps, a spread profile with its last run of
// equal x kept, clusters of equal x, uneven steps and a trace at one x.
QVector<QVector<double>> risingPositions()
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> step(0.0, 1.5);
    QVector<double> uneven{-3};
    for (int j = 1; j < 400; ++j)
        uneven.append(uneven.last() + (j % 17 == 0 ? 0.0 : step(random)));
    QVector<double> clusters;
    for (int j = 0; j < 300; ++j)
        clusters.append(std::floor(j / 7.0) * 0.3);
    QVector<double> spreadWithTail = spreadRepeatedValues({0, 0, 0.4, 0.4, 0.4, 1.1, 2, 2, 3, 3, 3, 3});
    return {evenly(500, 0.1), spreadWithTail, clusters, uneven, QVector<double>(50, 4.0)};
}

QVector<double> bumpyHeights(int count, std::mt19937_64& random)
{
    std::uniform_real_distribution<double> noise(-0.5, 0.5);
    QVector<double> heights(count);
    for (int j = 0; j < count; ++j)
        heights[j] = 3 * std::sin(j * 0.37) + noise(random) + (j % 23 == 0 ? 4.0 : 0.0);
    if (count > 2) {
        heights[1] = -0.0;
        heights[2] = 0.0;
    }
    return heights;
}

} // namespace

class ContourTraceTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { setSwitches(false, false); }

    void spreadRepeatedValues_data()
    {
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<QVector<double>>("spread");
        QTest::newRow("runs before larger steps") << QVector<double>{0, 0, 0, 3, 3, 5} << QVector<double>{0, 1, 2, 3, 4, 5};
        QTest::newRow("last run kept") << QVector<double>{1, 2, 2} << QVector<double>{1, 2, 2};
        QTest::newRow("constant") << QVector<double>{4, 4, 4} << QVector<double>{4, 4, 4};
        QTest::newRow("falling") << QVector<double>{3, 3, 1} << QVector<double>{3, 2, 1};
        QTest::newRow("one value") << QVector<double>{7} << QVector<double>{7};
        QTest::newRow("empty") << QVector<double>{} << QVector<double>{};
    }

    void spreadRepeatedValues()
    {
        QFETCH(QVector<double>, values);
        QFETCH(QVector<double>, spread);
        QCOMPARE(::spreadRepeatedValues(values), spread);
    }

    void tipRadiusOnAFlatLine_data()
    {
        QTest::addColumn<bool>("needleDown");
        QTest::addColumn<double>("height");
        QTest::newRow("needle down") << true << -2.0;
        QTest::newRow("needle up") << false << 2.0;
    }

    void tipRadiusOnAFlatLine()
    {
        QFETCH(bool, needleDown);
        QFETCH(double, height);
        const QVector<double> xs = evenly(21, 0.5);
        QCOMPARE(eliminateTipRadius(xs, QVector<double>(21, 0.0), 2, needleDown), QVector<double>(21, height));
    }

    void tipRadiusFollowsTheLowestCircle()
    {
        // A spike of 1 at x = 1 among points 0.5 apart; radius 2, needle down.
        // Its neighbour at x = 1.5 sees the spike's circle at 1 - sqrt(4 - 0.25)
        // above its own -2, so it keeps -2; the spike itself is lowered by the
        // circles of its neighbours: min(0 - sqrt(4 - 0.25)) = -1.936...
        const QVector<double> xs{0, 0.5, 1, 1.5, 2};
        const QVector<double> heights = eliminateTipRadius(xs, {0, 0, 1, 0, 0}, 2, true);
        QCOMPARE(heights[3], -2.0);
        QCOMPARE(heights[2], -std::sqrt(4 - 0.25));
    }

    void tipRadiusHeightsStayFinite_data()
    {
        QTest::addColumn<QVector<double>>("xs");
        QTest::addColumn<double>("radius");
        QTest::newRow("not-a-number radius") << QVector<double>{0, 1, 2} << qQNaN();
        QTest::newRow("negative radius") << QVector<double>{0, 1, 2} << -1.0;
        QTest::newRow("not-a-number position") << QVector<double>{0, qQNaN(), 1, 2} << 2.0;
        QTest::newRow("positions going back") << QVector<double>{5, 0, 10, 0.2} << 1.0;
    }

    void tipRadiusHeightsStayFinite()
    {
        QFETCH(QVector<double>, xs);
        QFETCH(double, radius);
        for (double h : eliminateTipRadius(xs, QVector<double>(xs.size(), 1.0), radius, true))
            QVERIFY2(std::isfinite(h) && std::abs(h) < 1e300, qPrintable(QString::number(h)));
        for (double h : eliminateTipRadius(xs, QVector<double>(xs.size(), 1.0), radius, false))
            QVERIFY2(std::isfinite(h) && std::abs(h) < 1e300, qPrintable(QString::number(h)));
    }

    void tipRadiusOnRisingXMatchesTheStraightforwardWindow()
    {
        std::mt19937_64 random(11);
        for (const QVector<double>& xs : risingPositions()) {
            const QVector<double> heights = bumpyHeights(xs.size(), random);
            for (double radius : {0.0, 0.25, 2.0, 25.0}) {
                for (bool needleDown : {true, false}) {
                    QVERIFY2(sameBits(eliminateTipRadius(xs, heights, radius, needleDown),
                                      straightforwardTipRadius(xs, heights, radius, needleDown)),
                             qPrintable(QStringLiteral("%1 points, radius %2, needle %3")
                                            .arg(xs.size())
                                            .arg(radius)
                                            .arg(needleDown ? "down" : "up")));
                }
            }
        }
    }

    void tipRadiusOnXGoingBackAndForth_data()
    {
        constexpr int kPoints = 1000000;
        QTest::addColumn<QVector<double>>("xs");
        QVector<double> alternating(kPoints);
        for (int j = 0; j < kPoints; ++j)
            alternating[j] = j % 2;
        std::mt19937_64 random(3);
        std::uniform_real_distribution<double> step(-1.0, 1.0);
        QVector<double> walk(kPoints, 0.0);
        for (int j = 1; j < kPoints; ++j)
            walk[j] = walk[j - 1] + step(random);
        QTest::newRow("alternating") << alternating;
        QTest::newRow("random walk") << walk;
    }

    // Every point would lie in one window of a single pass over the trace;
    // stretch by stretch the removal takes linear time.
    void tipRadiusOnXGoingBackAndForth()
    {
        QFETCH(QVector<double>, xs);
        std::mt19937_64 random(5);
        const QVector<double> heights = bumpyHeights(xs.size(), random);
        const auto [lowest, highest] = std::minmax_element(heights.cbegin(), heights.cend());
        const double radius = 2;
        for (bool needleDown : {true, false}) {
            const QVector<double> removed = eliminateTipRadius(xs, heights, radius, needleDown);
            QCOMPARE(removed.size(), xs.size());
            for (int j = 0; j < removed.size(); ++j) {
                if (!(removed[j] >= *lowest - radius && removed[j] <= *highest + radius))
                    QFAIL(qPrintable(QStringLiteral("height %1 at %2").arg(removed[j]).arg(j)));
            }
        }
    }

    void offsets_data()
    {
        QTest::addColumn<int>("needlePressing");
        QTest::addColumn<QVector<double>>("xs");
        QTest::addColumn<QVector<double>>("heights");
        QTest::newRow("needle down adds the probe height")
            << 1 << QVector<double>{0, 1, 2, 3} << QVector<double>{501, 502, 503, 504};
        QTest::newRow("needle up shifts x by the needle bias")
            << 0 << QVector<double>{250, 251, 252, 253} << QVector<double>{1, 2, 3, 4};
    }

    void offsets()
    {
        QFETCH(int, needlePressing);
        QFETCH(QVector<double>, xs);
        QFETCH(QVector<double>, heights);
        const auto trace = processedTrace({0, 0, 2, 3}, {1, 2, 3, 4}, needlePressing);
        const LockedTraceData display = trace->lockedData();
        QCOMPARE(column(display, 0), xs);
        QCOMPARE(column(display, 1), heights);
        QCOMPARE(column(display, 2), QVector<double>(4, 0.0));
    }

    void rebuildingDoesNotAddTheOffsetTwice()
    {
        const auto trace = processedTrace({0, 1}, {1, 2});
        trace->reprocess();
        trace->reprocess();
        QCOMPARE(column(trace->lockedData(), 1), (QVector<double>{501, 502}));
        QCOMPARE(column(trace->lockedRawData(), 1), (QVector<double>{1, 2}));
    }

    void radiusEliminationUsesTheRadiusOfTheNeedleSide()
    {
        setSwitches(false, true);
        const auto down = processedTrace(evenly(11, 0.5), QVector<double>(11, 0.0), 1);
        QCOMPARE(column(down->lockedData(), 1), QVector<double>(11, -2 + 500.0));
        const auto up = processedTrace(evenly(11, 0.5), QVector<double>(11, 0.0), 0);
        QCOMPARE(column(up->lockedData(), 1), QVector<double>(11, 3.0));
    }

    void lowPass_data()
    {
        QTest::addColumn<int>("measurementMode");
        QTest::addColumn<bool>("lowPass");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("shortened");
        QTest::newRow("filtered and trimmed") << 0 << true << 101 << true;
        QTest::newRow("switched off") << 0 << false << 101 << false;
        QTest::newRow("other measurement mode") << 1 << true << 101 << false;
        QTest::newRow("not longer than the radius") << 0 << true << 5 << false;
        QTest::newRow("no points") << 0 << true << 0 << false;
    }

    void lowPass()
    {
        QFETCH(int, measurementMode);
        QFETCH(bool, lowPass);
        QFETCH(int, points);
        QFETCH(bool, shortened);
        setSwitches(lowPass, false);
        // Points 0.1 apart, radius 2: the low-pass trims 1 at both ends.
        ContourTrace trace(ProfileData{evenly(points, 0.1), QVector<double>(points, 1.0), QVector<double>(points, 0.0)});
        trace.tool_head_radius_down = 2;
        trace.measurement_mode = measurementMode;
        trace.reprocess();

        const LockedTraceData display = trace.lockedData();
        QCOMPARE(column(display, 2).size(), points);
        QCOMPARE(column(display, 1).size(), column(display, 0).size());
        if (!shortened) {
            QCOMPARE(column(display, 0), evenly(points, 0.1));
            return;
        }
        const QVector<double> xs = column(display, 0);
        QVERIFY(xs.size() < points);
        KALVORA_COMPARE_NEAR(xs.first(), 1.0, 1e-9);
        KALVORA_COMPARE_NEAR(xs.last(), 9.0, 1e-9);
        for (double h : column(display, 1))
            KALVORA_COMPARE_NEAR(h, 1.0, 1e-9);
    }

    void displayMatchesTheStraightforwardPasses_data()
    {
        QTest::addColumn<bool>("lowPass");
        QTest::addColumn<bool>("elimination");
        QTest::addColumn<int>("needlePressing");
        for (int needle : {1, 0}) {
            const char* side = needle == 1 ? "needle down" : "needle up";
            QTest::addRow("%s, no passes", side) << false << false << needle;
            QTest::addRow("%s, tip radius", side) << false << true << needle;
            QTest::addRow("%s, low-pass", side) << true << false << needle;
            QTest::addRow("%s, low-pass and tip radius", side) << true << true << needle;
        }
    }

    // Rebuilds write into the columns of the stores they replaced and add the
    // offsets as they go; whatever the columns held before, the display store
    // is the one of separate passes, bit for bit: at the end of a read, after
    // rebuilds with other calibrations and after cropping.
    void displayMatchesTheStraightforwardPasses()
    {
        QFETCH(bool, lowPass);
        QFETCH(bool, elimination);
        QFETCH(int, needlePressing);
        setSwitches(lowPass, elimination);
        const ProfileData raw = bumpyContour(6000);
        ContourTrace trace(raw);
        trace.needle_pressing = needlePressing;
        trace.tool_head_radius_down = 2;
        trace.tool_head_radius_up = 3;
        trace.double_sided_probe_high = 0.5;
        trace.needle_bias = 0.25;
        auto check = [&](const ProfileData& expectedRaw, const char* when) {
            const ProfileData expected = straightforwardDisplay(expectedRaw, trace, lowPass, elimination);
            const ProfileData display = *trace.lockedData().data;
            for (int i = 0; i < 3; ++i)
                QVERIFY2(sameBits(display[i], expected[i]), qPrintable(QStringLiteral("%1, column %2").arg(when).arg(i)));
        };
        trace.applyPostProcessors();
        trace.processData();
        check(raw, "read");
        trace.reprocess();
        check(raw, "rebuilt");
        trace.double_sided_probe_high = -0.0;
        trace.needle_bias = -0.0;
        trace.tool_head_radius_down = 0.7;
        trace.tool_head_radius_up = 0.3;
        trace.reprocess();
        check(raw, "rebuilt with another calibration");
        trace.reprocess();
        check(raw, "rebuilt again");
        trace.crop(1000, 4000);
        ProfileData cropped = raw;
        for (QVector<double>& column : cropped)
            column = column.mid(1000, 3000);
        check(cropped, "cropped");
        const ProfileData more = bumpyContour(5000);
        trace.addPoints(more);
        trace.reprocess();
        for (int i = 0; i < 3; ++i)
            cropped[i] += more[i];
        check(cropped, "grown beyond the spare columns");
    }

    void madeFromDataAreRawPoints()
    {
        ContourTrace trace(ProfileData{{1, 2}, {3, 4}, {5, 6}});
        QCOMPARE(*trace.lockedRawData().data, (ProfileData{{1, 2}, {3, 4}, {5, 6}}));
        QCOMPARE(trace.dimension(), 3);
        ContourTrace fromTwoColumns(ProfileData{{1, 2}, {3, 4}});
        QVERIFY(column(fromTwoColumns.lockedRawData(), 0).isEmpty());
    }
};

KALVORA_TEST_MAIN(ContourTraceTest)
#include "ContourTraceTest.moc"
