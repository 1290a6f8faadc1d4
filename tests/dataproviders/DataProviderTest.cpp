#include <QSemaphore>
#include <QtTest>

#include <atomic>
#include <memory>

#include "DataProvider.h"
#include "DebugCapture.h"
#include "PlainTrace.h"
#include "ProviderEventLog.h"
#include "TestMain.h"

namespace {

class LoggingPostProcessor : public IDataPostProcessor
{
public:
    explicit LoggingPostProcessor(ProviderEventLog& log) : IDataPostProcessor(QStringLiteral("log")), m_log(log) {}
    void process(ProfileData&) override { m_log.add("post-processing"); }

private:
    ProviderEventLog& m_log;
};

// Reads `points` rows in batches of two; optionally fails, or blocks until
// released, or runs until it is stopped.
class TestProvider : public DataProvider
{
public:
    enum Mode { Points, Failing, Blocking, Endless };

    TestProvider(Mode mode, int points = 0) : DataProvider(QStringLiteral("test source")), m_mode(mode), m_points(points)
    {
    }
    ~TestProvider() override { stop(); }

    QSemaphore entered;
    QSemaphore release;
    std::atomic<int> rowsRead{0};

protected:
    void prepareTrace() override { trace()->setName(name()); }

    bool readData() override
    {
        entered.release();
        switch (m_mode) {
        case Failing:
            emit dataReadError(QStringLiteral("cannot open"));
            return false;
        case Blocking:
            release.acquire();
            return true;
        case Endless:
            while (!isStopRequested())
                addRow();
            return true;
        case Points:
            break;
        }
        for (int j = 0; j < m_points; ++j) {
            addRow();
            if (rowsRead % 2 == 0 || j == m_points - 1) {
                emit dataBatchReady(m_lastBatchEnd, rowsRead - m_lastBatchEnd);
                m_lastBatchEnd = rowsRead;
            }
        }
        return true;
    }

private:
    void addRow()
    {
        trace()->addPoint({double(rowsRead), 1});
        ++rowsRead;
    }

    Mode m_mode;
    int m_points;
    int m_lastBatchEnd = 0;
};

// The base class's own read.
class DefaultReadProvider : public DataProvider
{
public:
    DefaultReadProvider() : DataProvider(QStringLiteral("default")) {}

protected:
    void prepareTrace() override {}
};

bool waitForFinish(const DataProvider& provider)
{
    return QTest::qWaitFor([&] { return !provider.isRunning(); }, 5000);
}

} // namespace

class DataProviderTest : public QObject
{
    Q_OBJECT

private slots:
    void aNullTraceStartsNothing()
    {
        DefaultReadProvider provider;
        ProviderEventLog log;
        log.watch(provider);
        DebugCapture capture;
        QVERIFY(!provider.start(nullptr));
        QVERIFY(capture.contains(QStringLiteral("trace != nullptr")));
        QVERIFY(!provider.isRunning());
        QVERIFY(provider.trace() == nullptr);
        QTest::qWait(50);
        QVERIFY(log.events().isEmpty());
    }

    void aReadRunsItsStepsInOrder()
    {
        PlainTrace trace;
        ProviderEventLog log;
        trace.addPostProcessor(new LoggingPostProcessor(log));
        TestProvider provider(TestProvider::Points, 5);
        log.watch(provider);
        QVERIFY(!provider.result());
        QVERIFY(!provider.isRecording());

        QVERIFY(provider.start(&trace));
        QVERIFY(waitForFinish(provider));
        QCOMPARE(log.events(), (QStringList{"started", "batch 0 2", "batch 2 2", "batch 4 1", "post-processing",
                                            "finished"}));
        QVERIFY(provider.result());
        QCOMPARE(provider.trace(), &trace);
        QCOMPARE(trace.name(), QStringLiteral("test source"));
        QCOMPARE(trace.lockedData().data->at(0).size(), 5);
    }

    void aFailedReadStillFinishes()
    {
        PlainTrace trace;
        ProviderEventLog log;
        trace.addPostProcessor(new LoggingPostProcessor(log));
        TestProvider provider(TestProvider::Failing);
        log.watch(provider);
        QVERIFY(provider.start(&trace));
        QVERIFY(waitForFinish(provider));
        QCOMPARE(log.events(), (QStringList{"started", "error cannot open", "post-processing", "finished"}));
        QVERIFY(!provider.result());
        QVERIFY(trace.lockedData().data->at(0).isEmpty());
    }

    void theBaseReadGivesOneEmptyBatch()
    {
        PlainTrace trace;
        DefaultReadProvider provider;
        ProviderEventLog log;
        log.watch(provider);
        QVERIFY(provider.start(&trace));
        QVERIFY(waitForFinish(provider));
        QCOMPARE(log.events(), (QStringList{"started", "batch 0 0", "finished"}));
        QVERIFY(provider.result());
    }

    void aSecondStartWhileReadingIsRefused()
    {
        PlainTrace trace;
        PlainTrace other;
        TestProvider provider(TestProvider::Blocking);
        QVERIFY(provider.start(&trace));
        QVERIFY(provider.entered.tryAcquire(1, 5000));
        {
            DebugCapture capture;
            QVERIFY(!provider.start(&other));
            QVERIFY(capture.contains(QStringLiteral("still running")));
        }
        QCOMPARE(provider.trace(), &trace);
        provider.release.release();
        QVERIFY(waitForFinish(provider));

        // Once the read has finished the provider may read again.
        QVERIFY(provider.start(&other));
        QVERIFY(provider.entered.tryAcquire(1, 5000));
        provider.release.release();
        QVERIFY(waitForFinish(provider));
    }

    void aProviderDestroyedDuringAReadWaitsForIt()
    {
        PlainTrace trace;
        ProviderEventLog log;
        trace.addPostProcessor(new LoggingPostProcessor(log));
        auto provider = std::make_unique<TestProvider>(TestProvider::Endless);
        log.watch(*provider);
        QVERIFY(provider->start(&trace));
        QVERIFY(provider->entered.tryAcquire(1, 5000));
        QVERIFY(QTest::qWaitFor([&] { return provider->rowsRead > 100; }, 5000));

        provider.reset();
        QCOMPARE(log.events(), (QStringList{"started", "post-processing", "finished"}));
        const int rows = trace.lockedRawData().data->at(0).size();
        QVERIFY(rows > 100);
        QTest::qWait(20);
        QCOMPARE(trace.lockedRawData().data->at(0).size(), rows);
    }
};

KALVORA_TEST_MAIN(DataProviderTest)
#include "DataProviderTest.moc"
