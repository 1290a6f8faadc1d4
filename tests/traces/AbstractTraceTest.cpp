#include <QtConcurrent>
#include <QtTest>

#include "AbstractTrace.h"
#include "TestMain.h"
#include "TestTraces.h"
#include "ThreadAngleCompensationProcessor.h"
#include "XZeronator.h"

namespace {

// Multiplies x by a factor; records its own deletion.
class ScaleXProcessor : public IDataSinglePointProcessor
{
public:
    ScaleXProcessor(double factor, bool* deleted = nullptr) : m_factor(factor), m_deleted(deleted) {}
    ~ScaleXProcessor() override
    {
        if (m_deleted)
            *m_deleted = true;
    }
    void process(QVector<double>& point) override { point[0] *= m_factor; }

private:
    double m_factor;
    bool* m_deleted;
};

// Heights := heights * factor + offset.
class LinearHeights : public IDataPostProcessor
{
public:
    LinearHeights(double factor, double offset, bool* deleted = nullptr)
        : IDataPostProcessor(QStringLiteral("linear")), m_factor(factor), m_offset(offset), m_deleted(deleted)
    {
    }
    ~LinearHeights() override
    {
        if (m_deleted)
            *m_deleted = true;
    }
    void process(ProfileData& data) override
    {
        for (double& h : data[1])
            h = h * m_factor + m_offset;
    }

private:
    double m_factor;
    double m_offset;
    bool* m_deleted;
};

// Leaves no columns, as a filter does with input it cannot take.
class DropAll : public IDataPostProcessor
{
public:
    DropAll() : IDataPostProcessor(QStringLiteral("drop")) {}
    void process(ProfileData& data) override { data.clear(); }
};

void addPoints(AbstractTrace& trace, const QVector<double>& xs, const QVector<double>& heights)
{
    for (int j = 0; j < xs.size(); ++j)
        trace.addPoint({xs[j], heights[j]});
}

QVector<double> displayColumn(const AbstractTrace& trace, int i)
{
    return column(trace.lockedData(), i);
}

QVector<double> rawColumn(const AbstractTrace& trace, int i)
{
    return column(trace.lockedRawData(), i);
}

} // namespace

class AbstractTraceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        CountingTrace first;
        QCOMPARE(first.id, 0);
    }

    void idsFollowEachOtherWhateverTheClass()
    {
        CountingTrace a(2);
        CountingTrace b(3);
        auto c = std::make_unique<CountingTrace>(2);
        QCOMPARE(b.id, a.id + 1);
        QCOMPARE(c->id, b.id + 1);
    }

    void length_data()
    {
        QTest::addColumn<QVector<double>>("xs");
        QTest::addColumn<double>("length");
        QTest::newRow("no points") << QVector<double>{} << 0.0;
        QTest::newRow("one point") << QVector<double>{7} << 0.0;
        QTest::newRow("several") << QVector<double>{2, 3, 9.5} << 7.5;
    }

    void length()
    {
        QFETCH(QVector<double>, xs);
        QFETCH(double, length);
        CountingTrace trace;
        addPoints(trace, xs, QVector<double>(xs.size(), 1.0));
        QCOMPARE(trace.length(), length);
    }

    void pointsEnterAllStores()
    {
        CountingTrace trace;
        addPoints(trace, {1, 2}, {10, 20});
        QCOMPARE(rawColumn(trace, 0), (QVector<double>{1, 2}));
        QCOMPARE(displayColumn(trace, 1), (QVector<double>{10, 20}));

        trace.addPointProcessor(new ScaleXProcessor(10));
        trace.addPoint({3, 30});
        QCOMPARE(rawColumn(trace, 0), (QVector<double>{1, 2, 3}));
        QCOMPARE(displayColumn(trace, 0), (QVector<double>{1, 2, 30}));
        QCOMPARE(displayColumn(trace, 1), (QVector<double>{10, 20, 30}));
    }

    void pointsOfWrongSize()
    {
        CountingTrace trace(3);
        trace.addPoint({1, 2});
        trace.addPoint({});
        QCOMPARE(rawColumn(trace, 0).size(), 0);
        trace.addPoint({1, 2, 3, 4});
        QCOMPARE(trace.lockedRawData().data->size(), 3);
        QCOMPARE(rawColumn(trace, 2), (QVector<double>{3}));
    }

    void postProcessorsRunInOrderOnTheProcessedStore()
    {
        CountingTrace trace;
        trace.addPointProcessor(new ScaleXProcessor(2));
        addPoints(trace, {1, 2}, {1, 5});
        trace.applyPostProcessors();
        QCOMPARE(displayColumn(trace, 0), (QVector<double>{2, 4}));
        QCOMPARE(displayColumn(trace, 1), (QVector<double>{1, 5}));

        trace.addPostProcessor(new LinearHeights(1, 1));
        trace.addPostProcessor(new DropAll);
        trace.addPostProcessor(new LinearHeights(2, 0));
        QStringList chain;
        for (const auto& processor : trace.postProcessors())
            chain << processor->name;
        QCOMPARE(chain, (QStringList{"linear", "drop", "linear"}));
        trace.clearPostProcessors();
        QVERIFY(trace.postProcessors().isEmpty());

        trace.addPostProcessor(new LinearHeights(1, 1));
        trace.addPostProcessor(new LinearHeights(2, 0));
        trace.applyPostProcessors();
        QCOMPARE(displayColumn(trace, 1), (QVector<double>{4, 12}));
        // Applied again, the chain starts from the processed store, not from its last result.
        trace.applyPostProcessors();
        QCOMPARE(displayColumn(trace, 1), (QVector<double>{4, 12}));

        trace.addPoint({3, 7});
        QCOMPARE(displayColumn(trace, 1), (QVector<double>{4, 12, 7}));
        QCOMPARE(displayColumn(trace, 0), (QVector<double>{2, 4, 6}));
    }

    void reprocessReplaysTheRawPoints()
    {
        CountingTrace trace;
        addPoints(trace, {1, 2, 3}, {1, 2, 3});
        trace.addPointProcessor(new ScaleXProcessor(3));
        trace.addPostProcessor(new LinearHeights(1, 10));
        QCOMPARE(displayColumn(trace, 0), (QVector<double>{1, 2, 3}));

        trace.reprocess();
        QCOMPARE(rawColumn(trace, 0), (QVector<double>{1, 2, 3}));
        QCOMPARE(displayColumn(trace, 0), (QVector<double>{3, 6, 9}));
        QCOMPARE(displayColumn(trace, 1), (QVector<double>{11, 12, 13}));
        QCOMPARE(trace.processRuns(), 1);

        trace.clearPointProcessors();
        trace.clearPostProcessors();
        trace.reprocess();
        QCOMPARE(displayColumn(trace, 0), (QVector<double>{1, 2, 3}));
        QCOMPARE(displayColumn(trace, 1), (QVector<double>{1, 2, 3}));
    }

    void theTraceDeletesItsProcessors()
    {
        bool pointProcessorDeleted = false;
        bool postProcessorDeleted = false;
        bool lastDeleted = false;
        {
            CountingTrace trace;
            trace.addPointProcessor(new ScaleXProcessor(1, &pointProcessorDeleted));
            trace.addPostProcessor(new LinearHeights(1, 0, &postProcessorDeleted));
            trace.clearPointProcessors();
            trace.clearPostProcessors();
            QVERIFY(pointProcessorDeleted);
            QVERIFY(postProcessorDeleted);
            trace.addPointProcessor(new ScaleXProcessor(1, &lastDeleted));
        }
        QVERIFY(lastDeleted);
    }

    void crop_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QVector<double>>("kept");
        QTest::addColumn<bool>("rebuilt");
        const QVector<double> all{0, 1, 2, 3, 4};
        QTest::newRow("middle") << 1 << 3 << QVector<double>{1, 2} << true;
        QTest::newRow("tail up to the end") << 3 << 5 << QVector<double>{3, 4} << true;
        QTest::newRow("empty range") << 2 << 2 << QVector<double>{} << true;
        QTest::newRow("end before start") << 3 << 1 << all << false;
        QTest::newRow("end past the points") << 0 << 6 << all << false;
        QTest::newRow("negative start") << -1 << 2 << all << false;
    }

    void crop()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QVector<double>, kept);
        QFETCH(bool, rebuilt);
        CountingTrace trace;
        trace.addPostProcessor(new LinearHeights(1, 100));
        addPoints(trace, {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4});

        trace.crop(from, to);
        QCOMPARE(rawColumn(trace, 0), kept);
        QCOMPARE(rawColumn(trace, 1), kept);
        QCOMPARE(trace.processRuns(), rebuilt ? 1 : 0);
        if (rebuilt) {
            QCOMPARE(displayColumn(trace, 0), kept);
            QCOMPARE(displayColumn(trace, 1).size(), kept.size());
        }
    }

    void rawRowsWithinDisplayX_data()
    {
        QTest::addColumn<QString>("chain");
        QTest::addColumn<double>("firstX");
        QTest::addColumn<double>("lastX");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        // Raw x 10 to 19.
        QTest::newRow("no processing") << "" << 12.0 << 15.0 << 2 << 6;
        QTest::newRow("point processor doubling x") << "double" << 24.0 << 30.0 << 2 << 6;
        QTest::newRow("thread flank at 60 degrees") << "angle" << 5.9 << 7.6 << 2 << 6;
        QTest::newRow("x zeroed") << "zero" << 2.0 << 5.0 << 2 << 6;
        QTest::newRow("zeroed after doubling") << "double zero" << 4.0 << 10.0 << 2 << 6;
        QTest::newRow("no row inside") << "" << 100.0 << 200.0 << 0 << 0;
    }

    void rawRowsWithinDisplayX()
    {
        QFETCH(QString, chain);
        QFETCH(double, firstX);
        QFETCH(double, lastX);
        QFETCH(int, from);
        QFETCH(int, to);
        CountingTrace trace;
        if (chain.contains("double"))
            trace.addPointProcessor(new ScaleXProcessor(2));
        if (chain.contains("angle"))
            trace.addPostProcessor(new ThreadAngleCompensationProcessor(60));
        if (chain.contains("zero"))
            trace.addPostProcessor(new XZeronator);
        addPoints(trace, {10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        trace.reprocess();
        QCOMPARE(trace.rawRowsWithinDisplayX(firstX, lastX), std::make_pair(from, to));
    }

    void clearPointsKeepsColumnsAndCapacity()
    {
        CountingTrace trace(3);
        for (int j = 0; j < 100; ++j)
            trace.addPoint({double(j), 0, 0});
        trace.clearPoints();
        QCOMPARE(trace.dimension(), 3);
        const LockedTraceData raw = trace.lockedRawData();
        QCOMPARE(raw.data->size(), 3);
        QVERIFY(raw.data->at(0).isEmpty());
        QVERIFY(raw.data->at(0).capacity() >= 100);
    }

    // Room is reserved while the stores are still empty, or after the first
    // batch; the rows there are kept, and the batches that follow must land
    // in the room and hold what point-by-point adding gives.
    void reservedRoomOutlastsTheBatches_data()
    {
        QTest::addColumn<int>("reserved");
        QTest::addColumn<bool>("withPointProcessor");
        QTest::addColumn<int>("reservedBeforeBatch");
        QTest::newRow("no room") << 0 << false << 0;
        QTest::newRow("small room") << 1000 << false << 0;
        QTest::newRow("room of several megabytes") << 300000 << false << 0;
        QTest::newRow("room, point processor") << 300000 << true << 0;
        QTest::newRow("room after a batch, point processor") << 300000 << true << 1;
    }

    void reservedRoomOutlastsTheBatches()
    {
        QFETCH(int, reserved);
        QFETCH(bool, withPointProcessor);
        QFETCH(int, reservedBeforeBatch);
        CountingTrace single;
        CountingTrace batched;
        if (withPointProcessor) {
            single.addPointProcessor(new ScaleXProcessor(3));
            batched.addPointProcessor(new ScaleXProcessor(3));
        }
        for (int batch = 0; batch < 3; ++batch) {
            if (batch == reservedBeforeBatch)
                batched.reservePoints(reserved);
            ProfileData rows(2);
            for (int j = 0; j < 700; ++j) {
                const double x = batch * 700 + j;
                rows[0].append(x);
                rows[1].append(x * 0.25 - 7);
                single.addPoint({x, x * 0.25 - 7});
            }
            batched.addPoints(rows);
        }
        QCOMPARE(*batched.lockedRawData().data, *single.lockedRawData().data);
        QCOMPARE(*batched.lockedData().data, *single.lockedData().data);
        QVERIFY(batched.lockedRawData().data->at(1).capacity() >= reserved);
        QVERIFY(batched.lockedData().data->at(0).capacity() >= reserved);
    }

    void pointsAfterAChainThatLeftNoColumns()
    {
        CountingTrace trace;
        trace.addPostProcessor(new DropAll);
        addPoints(trace, {1, 2}, {1, 2});
        trace.applyPostProcessors();
        QVERIFY(trace.lockedData().data->isEmpty());
        trace.addPoint({3, 3});
        QCOMPARE(trace.length(), 0.0);

        trace.clearPoints();
        trace.addPoint({4, 4});
        QCOMPARE(displayColumn(trace, 0), (QVector<double>{4}));
    }

    void creationDateString()
    {
        CountingTrace trace;
        trace.creationTime = QDateTime(QDate(2021, 3, 3), QTime(7, 5, 9), Qt::LocalTime);
        QCOMPARE(trace.creationDateString(), std::string("03-03-2021 07:05:09"));
        trace.creationTime = QDateTime(QDate(2021, 12, 31), QTime(23, 59, 58), Qt::LocalTime);
        QCOMPARE(trace.creationDateString(), std::string("31-12-2021 23:59:58"));
    }

    void lockedDataHoldsBackWriters()
    {
        CountingTrace trace;
        trace.addPoint({1, 1});
        QFuture<void> writer;
        {
            const LockedTraceData locked = trace.lockedData();
            const LockedTraceData copy = locked;
            writer = QtConcurrent::run([&trace] { trace.addPoint({2, 2}); });
            QThread::msleep(100);
            QVERIFY(!writer.isFinished());
            QCOMPARE(copy.data->at(0).size(), 1);
        }
        writer.waitForFinished();
        QCOMPARE(displayColumn(trace, 0), (QVector<double>{1, 2}));
    }
};

KALVORA_TEST_MAIN(AbstractTraceTest)
#include "AbstractTraceTest.moc"
