#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

#include "PtyPair.h"
#include "TestMain.h"

class PtyPairTest : public QObject
{
    Q_OBJECT

private slots:
    void bytesCrossBothWaysUnchanged();
    void readMasterReturnsWhatArrivedWithinTheTimeout();
    void slaveReopensAfterTheCodeUnderTestClosesIt();
};

namespace {

int openSlave(const PtyPair& pty)
{
    return ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
}

} // namespace

void PtyPairTest::bytesCrossBothWaysUnchanged()
{
    PtyPair pty;
    QVERIFY(pty.isOpen());
    const int fd = openSlave(pty);
    QVERIFY(fd >= 0);

    // Raw mode: carriage returns, line feeds and control bytes pass untouched.
    const std::string bytes("a\r\nb\x03\x04\x7f\x00z", 9);
    QCOMPARE(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    QCOMPARE(pty.readMaster(bytes.size(), 1000), bytes);

    pty.writeMaster(bytes);
    char buffer[16] = {};
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, buffer + got, sizeof buffer - got);
        QVERIFY(n > 0);
        got += size_t(n);
    }
    QCOMPARE(std::string(buffer, got), bytes);
    ::close(fd);
}

void PtyPairTest::readMasterReturnsWhatArrivedWithinTheTimeout()
{
    PtyPair pty;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(pty.readMaster(10, 100), std::string());
    QVERIFY(timer.elapsed() >= 90);

    const int fd = openSlave(pty);
    QCOMPARE(::write(fd, "abc", 3), ssize_t(3));
    QCOMPARE(pty.readMaster(10, 100), std::string("abc"));
    ::close(fd);
}

void PtyPairTest::slaveReopensAfterTheCodeUnderTestClosesIt()
{
    PtyPair pty;
    ::close(openSlave(pty));
    pty.writeMaster("x");
    const int fd = openSlave(pty);
    QVERIFY(fd >= 0);
    char c = 0;
    QCOMPARE(::read(fd, &c, 1), ssize_t(1));
    QCOMPARE(c, 'x');
    ::close(fd);
}

KALVORA_TEST_MAIN(PtyPairTest)
#include "PtyPairTest.moc"
