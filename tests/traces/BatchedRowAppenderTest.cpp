#include <QtTest>

#include "BatchedRowAppender.h"
#include "ContourConversionPointProcessor.h"
#include "TestMain.h"
#include "TestTraces.h"

namespace {

using Batches = QVector<QPair<int, int>>;

QVector<double> reading(int j)
{
    return {j * 0.5, double(j % 7) - 3, 1000.0 + j};
}

} // namespace

class BatchedRowAppenderTest : public QObject
{
    Q_OBJECT

private slots:
    void batchesMatchPointByPointAdding_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<Batches>("batches");
        QTest::newRow("none") << 0 << Batches();
        QTest::newRow("one") << 1 << Batches();
        QTest::newRow("one short of a batch") << 499 << Batches();
        QTest::newRow("one batch") << 500 << Batches{{0, 500}};
        QTest::newRow("1200") << 1200 << Batches{{0, 500}, {500, 500}};
    }

    void batchesMatchPointByPointAdding()
    {
        QFETCH(int, rows);
        QFETCH(Batches, batches);
        CountingTrace single(3);
        CountingTrace batched(3);
        single.addPointProcessor(new ContourConversionPointProcessor);
        batched.addPointProcessor(new ContourConversionPointProcessor);

        Batches announced;
        int rowsAtAnnouncement = -1;
        {
            BatchedRowAppender appender(batched, [&](int from, int count) {
                announced.append({from, count});
                // An announced batch is in the trace already.
                rowsAtAnnouncement = batched.lockedRawData().data->at(0).size();
                QCOMPARE(rowsAtAnnouncement, from + count);
            });
            for (int j = 0; j < rows; ++j) {
                single.addPoint(reading(j));
                appender.addRow(reading(j).constData());
            }
        }
        QCOMPARE(announced, batches);
        QCOMPARE(*batched.lockedRawData().data, *single.lockedRawData().data);
        QCOMPARE(*batched.lockedData().data, *single.lockedData().data);
        batched.applyPostProcessors();
        single.applyPostProcessors();
        QCOMPARE(*batched.lockedData().data, *single.lockedData().data);
    }
};

KALVORA_TEST_MAIN(BatchedRowAppenderTest)
#include "BatchedRowAppenderTest.moc"
