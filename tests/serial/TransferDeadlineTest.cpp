#include <QtTest>

#include <cstdint>

#include "TestMain.h"
#include "serial/src/impl/TransferDeadline.h"

using serial::Timeout;
using serial::TransferDeadline;

class TransferDeadlineTest : public QObject
{
    Q_OBJECT

private slots:
    void readWait_data();
    void readWait();
    void writeWait_data();
    void writeWait();
};

namespace {

constexpr int kNoByte = -1;
constexpr uint32_t kMax = Timeout::kMax;

const TransferDeadline::Clock::time_point kStart = TransferDeadline::Clock::time_point() + std::chrono::hours(1);

TransferDeadline::Clock::time_point atUs(qint64 us)
{
    return kStart + std::chrono::microseconds(us);
}

} // namespace

void TransferDeadlineTest::readWait_data()
{
    QTest::addColumn<uint>("interByte");
    QTest::addColumn<uint>("constant");
    QTest::addColumn<uint>("multiplier");
    QTest::addColumn<quint64>("size");
    QTest::addColumn<qint64>("elapsedUs");
    QTest::addColumn<int>("lastByteAgoMs");
    QTest::addColumn<int>("expectedWaitMs");

    QTest::newRow("all zero: no limit") << 0u << 0u << 0u << quint64(10) << qint64(5000000) << kNoByte << -1;
    QTest::newRow("all zero: no gap limit either") << 0u << 0u << 0u << quint64(10) << qint64(5000000) << 10 << -1;
    QTest::newRow("simple: whole time at start") << kMax << 500u << 0u << quint64(20) << qint64(0) << kNoByte << 500;
    QTest::newRow("simple: rest of the time") << kMax << 500u << 0u << quint64(20) << qint64(200000) << kNoByte << 300;
    QTest::newRow("simple: time is up") << kMax << 500u << 0u << quint64(20) << qint64(600000) << kNoByte << 0;
    QTest::newRow("simple: no gap limit") << kMax << 500u << 0u << quint64(20) << qint64(100000) << 90 << 400;
    QTest::newRow("simple: part of a ms left still waits")
        << kMax << 500u << 0u << quint64(20) << qint64(499500) << kNoByte << 1;
    QTest::newRow("max gap, no total: at once") << kMax << 0u << 0u << quint64(20) << qint64(0) << kNoByte << 0;
    QTest::newRow("multiplier per byte requested") << 0u << 100u << 10u << quint64(20) << qint64(0) << kNoByte << 300;
    QTest::newRow("multiplier alone") << 0u << 0u << 10u << quint64(5) << qint64(20000) << kNoByte << 30;
    QTest::newRow("gap waits for the first byte") << 50u << 0u << 0u << quint64(10) << qint64(1000000) << kNoByte << -1;
    QTest::newRow("gap since the last byte") << 50u << 0u << 0u << quint64(10) << qint64(1000000) << 20 << 30;
    QTest::newRow("gap passed") << 50u << 0u << 0u << quint64(10) << qint64(1000000) << 60 << 0;
    QTest::newRow("total ends before the gap") << 50u << 100u << 0u << quint64(10) << qint64(90000) << 5 << 10;
    QTest::newRow("gap ends before the total") << 50u << 1000u << 0u << quint64(10) << qint64(100000) << 30 << 20;
    QTest::newRow("huge size: no limit, no overflow")
        << 0u << 5u << 1000u << quint64(SIZE_MAX) << qint64(0) << kNoByte << -1;
}

void TransferDeadlineTest::readWait()
{
    QFETCH(uint, interByte);
    QFETCH(uint, constant);
    QFETCH(uint, multiplier);
    QFETCH(quint64, size);
    QFETCH(qint64, elapsedUs);
    QFETCH(int, lastByteAgoMs);
    QFETCH(int, expectedWaitMs);

    TransferDeadline deadline = TransferDeadline::forRead(Timeout(interByte, constant, multiplier), size, kStart);
    if (lastByteAgoMs != kNoByte)
        deadline.byteArrived(atUs(elapsedUs - qint64(lastByteAgoMs) * 1000));
    QCOMPARE(deadline.waitMs(atUs(elapsedUs)), expectedWaitMs);
}

void TransferDeadlineTest::writeWait_data()
{
    QTest::addColumn<uint>("constant");
    QTest::addColumn<uint>("multiplier");
    QTest::addColumn<quint64>("size");
    QTest::addColumn<qint64>("elapsedUs");
    QTest::addColumn<int>("expectedWaitMs");

    QTest::newRow("no limit") << 0u << 0u << quint64(100) << qint64(9000000) << -1;
    QTest::newRow("constant") << 500u << 0u << quint64(100) << qint64(100000) << 400;
    QTest::newRow("constant and multiplier") << 100u << 10u << quint64(20) << qint64(0) << 300;
    QTest::newRow("time is up") << 100u << 10u << quint64(20) << qint64(300000) << 0;
    QTest::newRow("huge size: no limit, no overflow") << 1u << 4000000000u << quint64(SIZE_MAX) << qint64(0) << -1;
}

void TransferDeadlineTest::writeWait()
{
    QFETCH(uint, constant);
    QFETCH(uint, multiplier);
    QFETCH(quint64, size);
    QFETCH(qint64, elapsedUs);
    QFETCH(int, expectedWaitMs);

    // The read parts and the gap limit do not bound a write.
    const Timeout timeout(50, 1, 1, constant, multiplier);
    const TransferDeadline deadline = TransferDeadline::forWrite(timeout, size, kStart);
    QCOMPARE(deadline.waitMs(atUs(elapsedUs)), expectedWaitMs);
}

KALVORA_TEST_MAIN(TransferDeadlineTest)
#include "TransferDeadlineTest.moc"
