#include <QtTest>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "PtyPair.h"
#include "TestMain.h"
#include "serial/Serial.h"

using namespace serial;

class SerialTransferTest : public QObject
{
    Q_OBJECT

private slots:
    void readReturnsWhatArrivedWhenItsTimeoutEnds_data();
    void readReturnsWhatArrivedWhenItsTimeoutEnds();
    void readWithoutTimeoutsWaitsForEveryByte();
    void readEndsWhenTheGapBetweenBytesPasses();
    void readReturnsAtOnceWithWhatIsBuffered();
    void readFormsAppend();
    void readLineStopsAtTheEndOfLine();
    void readLinesSplitsAtTheEndOfLine_data();
    void readLinesSplitsAtTheEndOfLine();
    void writeSendsEveryByteThroughShortWrites();
    void writeEndsWhenItsTimeoutEnds();
    void blockedReadDoesNotHoldUpAWrite();
    void closeWaitsForARead();
    void hangUpEndsAReadWithIOException();
    void hangUpFailsAWrite();
    void availableCountsAndFlushInputDiscards();
    void waitReadableTellsWhetherBytesWait();
    void waitByteTimesWaitsForTheTransmissionTime();
};

namespace {

std::string pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xff);
    return bytes;
}

template <typename Function>
qint64 msTaken(Function function)
{
    QElapsedTimer timer;
    timer.start();
    function();
    return timer.elapsed();
}

} // namespace

void SerialTransferTest::readReturnsWhatArrivedWhenItsTimeoutEnds_data()
{
    QTest::addColumn<uint>("constant");
    QTest::addColumn<uint>("multiplier");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("expectedMs");

    QTest::newRow("simple 500: OK of 20") << 500u << 0u << QByteArray("OK") << 500;
    QTest::newRow("simple 300: nothing") << 300u << 0u << QByteArray() << 300;
    QTest::newRow("multiplier 15 per byte of 20") << 0u << 15u << QByteArray("abc") << 300;
    QTest::newRow("constant and multiplier") << 100u << 10u << QByteArray("x") << 300;
}

void SerialTransferTest::readReturnsWhatArrivedWhenItsTimeoutEnds()
{
    QFETCH(uint, constant);
    QFETCH(uint, multiplier);
    QFETCH(QByteArray, sent);
    QFETCH(int, expectedMs);

    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout(Timeout::kMax, constant, multiplier, 500, 0));
    pty.writeMaster(sent.toStdString());
    std::string received;
    const qint64 ms = msTaken([&] { received = port.read(20); });
    QCOMPARE(QByteArray::fromStdString(received), sent);
    QVERIFY2(ms >= expectedMs - 10 && ms < expectedMs + 400, qPrintable(QString::number(ms)));
}

void SerialTransferTest::readWithoutTimeoutsWaitsForEveryByte()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout());
    std::thread sender([&] {
        for (const char* piece : {"ab", "cd", "ef"}) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            pty.writeMaster(piece);
        }
    });
    const std::string received = port.read(6);
    sender.join();
    QCOMPARE(received, std::string("abcdef"));
}

void SerialTransferTest::readEndsWhenTheGapBetweenBytesPasses()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout(50, 5000, 0));
    std::thread sender([&] {
        pty.writeMaster("ab");
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        pty.writeMaster("c");
    });
    std::string received;
    const qint64 ms = msTaken([&] { received = port.read(10); });
    sender.join();
    QCOMPARE(received, std::string("ab"));
    QVERIFY2(ms < 600, qPrintable(QString::number(ms)));
}

void SerialTransferTest::readReturnsAtOnceWithWhatIsBuffered()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout(Timeout::kMax, 0, 0, 0, 0));
    std::string received;
    QVERIFY(msTaken([&] { received = port.read(10); }) < 100);
    QCOMPARE(received, std::string());

    pty.writeMaster("xyz");
    QTRY_COMPARE(port.available(), size_t(3));
    QCOMPARE(port.read(10), std::string("xyz"));
}

void SerialTransferTest::readFormsAppend()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout::simpleTimeout(200));
    pty.writeMaster(std::string("\x01\x00\xff", 3));
    std::vector<uint8_t> bytes{9};
    QCOMPARE(port.read(bytes, 3), size_t(3));
    QCOMPARE(bytes, (std::vector<uint8_t>{9, 1, 0, 255}));

    pty.writeMaster("tail");
    std::string text("head:");
    QCOMPARE(port.read(text, 10), size_t(4));
    QCOMPARE(text, std::string("head:tail"));
}

void SerialTransferTest::readLineStopsAtTheEndOfLine()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout::simpleTimeout(300));
    pty.writeMaster("AB\nXY");

    std::string line;
    QVERIFY(msTaken([&] { line = port.readLine(10, "\n"); }) < 250);
    QCOMPARE(line, std::string("AB\n"));
    std::string rest("kept:");
    const qint64 ms = msTaken([&] { QCOMPARE(port.readLine(rest, 10, "\n"), size_t(2)); });
    QCOMPARE(rest, std::string("kept:XY"));
    QVERIFY(ms >= 290);

    pty.writeMaster("1\r\n2");
    QCOMPARE(port.readLine(10, "\r\n"), std::string("1\r\n"));
    QCOMPARE(port.readLine(10, ""), std::string("2"));
    pty.writeMaster("abcdef");
    QCOMPARE(port.readLine(4, "\n"), std::string("abcd"));
    QCOMPARE(port.readLine(0, "\n"), std::string());
    QCOMPARE(port.readLine(4, "\n"), std::string("ef"));
}

void SerialTransferTest::readLinesSplitsAtTheEndOfLine_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("eol");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("size reached in a line") << QByteArray("A\nBX\nYZ") << 6 << "\n" << QStringList{"A\n", "BX\n", "Y"};
    QTest::newRow("time-out ends the last line") << QByteArray("A\nB") << 10 << "\n" << QStringList{"A\n", "B"};
    QTest::newRow("ends on a line end") << QByteArray("A\nB\n") << 10 << "\n" << QStringList{"A\n", "B\n"};
    QTest::newRow("two-byte end of line") << QByteArray("a\rb\r\nc\r\n") << 10 << "\r\n"
                                          << QStringList{"a\rb\r\n", "c\r\n"};
    QTest::newRow("size 0") << QByteArray("A\n") << 0 << "\n" << QStringList{};
    QTest::newRow("nothing arrives") << QByteArray() << 5 << "\n" << QStringList{};
}

void SerialTransferTest::readLinesSplitsAtTheEndOfLine()
{
    QFETCH(QByteArray, sent);
    QFETCH(int, size);
    QFETCH(QString, eol);
    QFETCH(QStringList, expected);

    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout::simpleTimeout(150));
    pty.writeMaster(sent.toStdString());
    QStringList lines;
    for (const std::string& line : port.readLines(size_t(size), eol.toStdString()))
        lines << QString::fromStdString(line);
    QCOMPARE(lines, expected);
}

void SerialTransferTest::writeSendsEveryByteThroughShortWrites()
{
    // Far more than the terminal buffers: the write has to go on after short
    // writes until the slow reader at the far end has taken everything.
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout());
    const std::string bytes = pattern(256 * 1024);
    std::string received;
    std::thread reader([&] {
        while (received.size() < bytes.size()) {
            const std::string piece = pty.readMaster(1024, 2000);
            if (piece.empty())
                break;
            received += piece;
        }
    });
    const size_t sent = port.write(bytes);
    reader.join();
    QCOMPARE(sent, bytes.size());
    QVERIFY(received == bytes);
}

void SerialTransferTest::writeEndsWhenItsTimeoutEnds()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout::simpleTimeout(300));
    const std::string bytes = pattern(1024 * 1024);
    size_t sent = 0;
    const qint64 ms = msTaken([&] { sent = port.write(bytes); });
    QVERIFY(sent > 0);
    QVERIFY(sent < bytes.size());
    QVERIFY2(ms >= 290 && ms < 1000, qPrintable(QString::number(ms)));
    QCOMPARE(pty.readMaster(sent, 2000), bytes.substr(0, sent));
}

void SerialTransferTest::blockedReadDoesNotHoldUpAWrite()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout::simpleTimeout(1500));
    pty.writeMaster("p");
    QTRY_VERIFY_WITH_TIMEOUT(port.available() == 1, 5000);
    auto read = std::async(std::launch::async, [&] { return port.read(5); });
    // Once the first byte is taken, the read is under way and waits for more.
    QTRY_VERIFY_WITH_TIMEOUT(port.available() == 0, 5000);

    const qint64 ms = msTaken([&] { QCOMPARE(port.write(std::string("ping")), size_t(4)); });
    QVERIFY2(ms < 500, qPrintable(QString::number(ms)));
    QCOMPARE(pty.readMaster(4, 1000), std::string("ping"));
    pty.writeMaster("ong!");
    QCOMPARE(read.get(), std::string("pong!"));
}

void SerialTransferTest::closeWaitsForARead()
{
    PtyPair pty;
    using Clock = std::chrono::steady_clock;
    constexpr std::chrono::milliseconds readTimeout(600);
    Serial port(pty.slavePath(), 460800, Timeout::simpleTimeout(uint32_t(readTimeout.count())));
    pty.writeMaster("a");
    QTRY_VERIFY_WITH_TIMEOUT(port.available() == 1, 5000);
    std::promise<Clock::time_point> readStart;
    auto read = std::async(std::launch::async, [&] {
        readStart.set_value(Clock::now());
        return port.read(5);
    });
    // Once the first byte is taken, the read is under way and waits for more.
    QTRY_VERIFY_WITH_TIMEOUT(port.available() == 0, 5000);

    pty.writeMaster("b");
    port.close();
    // The read, short of bytes, runs to its time-out; close returns after it.
    QVERIFY(Clock::now() - readStart.get_future().get() >= readTimeout);
    QVERIFY(!port.isOpen());
    QCOMPARE(read.get(), std::string("ab"));
    QVERIFY_EXCEPTION_THROWN(port.read(1), PortNotOpenedException);
}

void SerialTransferTest::hangUpEndsAReadWithIOException()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout::simpleTimeout(3000));
    auto read = std::async(std::launch::async, [&] {
        QElapsedTimer timer;
        timer.start();
        try {
            port.read(10);
        } catch (const IOException& e) {
            return std::make_pair(timer.elapsed(), std::string(e.what()));
        }
        return std::make_pair(timer.elapsed(), std::string());
    });
    QTest::qWait(100);
    pty.closeMaster();

    const auto [ms, what] = read.get();
    QVERIFY2(QString::fromStdString(what).startsWith("IO Exception: Error while reading from the serial port: 5, file"),
             what.c_str());
    QVERIFY2(ms < 2000, qPrintable(QString::number(ms)));
    QVERIFY(port.isOpen());
    QVERIFY_EXCEPTION_THROWN(port.read(1), IOException);
}

void SerialTransferTest::hangUpFailsAWrite()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout::simpleTimeout(500));
    pty.closeMaster();
    try {
        port.write(std::string("lost"));
        QFAIL("a write to a vanished device went through");
    } catch (const IOException& e) {
        QVERIFY2(QString(e.what()).startsWith("IO Exception: Error while writing to the serial port: 5, file"), e.what());
    }
}

void SerialTransferTest::availableCountsAndFlushInputDiscards()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout::simpleTimeout(100));
    QCOMPARE(port.available(), size_t(0));
    pty.writeMaster("abc");
    QTRY_COMPARE(port.available(), size_t(3));
    port.flushInput();
    QCOMPARE(port.available(), size_t(0));
    QCOMPARE(port.read(3), std::string());
}

void SerialTransferTest::waitReadableTellsWhetherBytesWait()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout::simpleTimeout(150));
    bool readable = true;
    const qint64 ms = msTaken([&] { readable = port.waitReadable(); });
    QVERIFY(!readable);
    QVERIFY(ms >= 140);
    pty.writeMaster("x");
    QVERIFY(port.waitReadable());
    QCOMPARE(port.read(1), std::string("x"));
}

void SerialTransferTest::waitByteTimesWaitsForTheTransmissionTime()
{
    // 9600 baud, 8N2: start, 8 data and 2 stop bits are 11 bits a byte, so 88
    // bytes take about 100 ms.
    PtyPair pty;
    Serial port(pty.slavePath(), 9600, Timeout(), eightbits, parity_none, stopbits_two);
    const qint64 ms = msTaken([&] { port.waitByteTimes(88); });
    QVERIFY2(ms >= 100 && ms < 300, qPrintable(QString::number(ms)));
}

KALVORA_TEST_MAIN(SerialTransferTest)
#include "SerialTransferTest.moc"
