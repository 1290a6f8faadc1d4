#include <QThread>
#include <QtConcurrent>
#include <QtTest>

#include <atomic>

#include "ContourConversionPointProcessor.h"
#include "ContourTrace.h"
#include "TestMain.h"
#include "TestTraces.h"
#include "YZeronator.h"

namespace {

constexpr int kPointCount = 200000;

bool columnsOfEqualLength(const ProfileData& store)
{
    for (const QVector<double>& c : store) {
        if (c.size() != store.first().size())
            return false;
    }
    return true;
}

} // namespace

// One thread records while another reads, clears and rebuilds the same trace.
class TraceConcurrencyTest : public QObject
{
    Q_OBJECT

private slots:
    void appendWhileReadingClearingAndRebuilding_data()
    {
        QTest::addColumn<bool>("withPointConversion");
        QTest::newRow("point conversion") << true;
        // Without point processors a rebuild shares the raw columns.
        QTest::newRow("no point processors") << false;
    }

    void appendWhileReadingClearingAndRebuilding()
    {
        QFETCH(bool, withPointConversion);
        CountingTrace trace(3);
        if (withPointConversion)
            trace.addPointProcessor(new ContourConversionPointProcessor);
        trace.addPostProcessor(new YZeronator);

        // The last point arrives once the loop below has stopped, so that no
        // clear can come after it and leave nothing to check.
        std::atomic<bool> writing{true};
        std::atomic<bool> loopStopped{false};
        QFuture<void> writer = QtConcurrent::run([&] {
            for (int j = 0; j + 1 < kPointCount; ++j)
                trace.addPoint({double(j), double(j % 7), 1000});
            writing = false;
            while (!loopStopped)
                QThread::yieldCurrentThread();
            trace.addPoint({double(kPointCount - 1), double((kPointCount - 1) % 7), 1000});
        });

        int round = 0;
        int tornCopies = 0;
        while (writing) {
            {
                const LockedTraceData display = trace.lockedData();
                const ProfileData copy = *display.data;
                if (!columnsOfEqualLength(copy))
                    ++tornCopies;
            }
            {
                const LockedTraceData raw = trace.lockedRawData();
                if (!columnsOfEqualLength(*raw.data))
                    ++tornCopies;
            }
            const int step = round++;
            switch (step % 4) {
            case 0:
                trace.reprocess();
                break;
            case 1:
                trace.applyPostProcessors();
                break;
            case 2:
                trace.processData();
                break;
            default:
                if (step % 40 == 3)
                    trace.clearPoints();
                break;
            }
        }
        loopStopped = true;
        writer.waitForFinished();
        QCOMPARE(tornCopies, 0);
        QVERIFY(round > 40);

        // Every point recorded after the last clear is in all stores: none
        // was lost to a rebuild that ran while it arrived.
        const ProfileData raw = *trace.lockedRawData().data;
        const int n = raw[0].size();
        QVERIFY(n > 0);
        for (int j = 0; j < n; ++j)
            QCOMPARE(raw[0][j], double(kPointCount - n + j));
        const ProfileData display = *trace.lockedData().data;
        QCOMPARE(display.size(), 3);
        QCOMPARE(display[0].size(), n);
        QCOMPARE(display[0], raw[0]);
        QVERIFY(columnsOfEqualLength(display));

        trace.reprocess();
        const ProfileData rebuilt = *trace.lockedData().data;
        QCOMPARE(rebuilt[0], raw[0]);
        double lowest = rebuilt[1][0];
        for (double h : rebuilt[1])
            lowest = std::min(lowest, h);
        QCOMPARE(lowest, 0.0);
    }

    // Rebuilds write into the memory of the stores they replaced. A reader
    // that copied the display columns under the lock keeps its copy after
    // releasing the lock, while rebuilds with other offsets go on.
    void copiesOfReadersOutliveRebuilds()
    {
        constexpr int kRows = 100000;
        QVector<double> xs(kRows);
        for (int j = 0; j < kRows; ++j)
            xs[j] = j;
        ContourTrace trace(ProfileData{xs, QVector<double>(kRows, 0.0), QVector<double>(kRows, 0.0)});
        trace.needle_pressing = 1;

        std::atomic<bool> reading{true};
        std::atomic<int> rebuilds{0};
        QFuture<void> rebuilder = QtConcurrent::run([&] {
            while (reading) {
                trace.double_sided_probe_high = rebuilds + 1;
                trace.reprocess();
                ++rebuilds;
            }
        });
        int changedCopies = 0;
        for (int read = 0; read < 12; ++read) {
            const QVector<double> heights = trace.lockedData().data->at(1);
            const double held = heights.first();
            const int before = rebuilds;
            while (rebuilds < before + 3)
                QThread::yieldCurrentThread();
            for (double h : heights)
                changedCopies += h != held ? 1 : 0;
        }
        reading = false;
        rebuilder.waitForFinished();
        QCOMPARE(changedCopies, 0);
    }
};

KALVORA_TEST_MAIN(TraceConcurrencyTest)
#include "TraceConcurrencyTest.moc"
