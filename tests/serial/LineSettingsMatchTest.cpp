#include <QtTest>

#include <functional>

#include "TestMain.h"
#include "serial/src/impl/LineSettingsMatch.h"

using Change = std::function<void(termios&)>;
Q_DECLARE_METATYPE(Change)

class LineSettingsMatchTest : public QObject
{
    Q_OBJECT

private slots:
    void driverKeepingItsOwnValueIsNoMatch_data();
    void driverKeepingItsOwnValueIsNoMatch();
};

void LineSettingsMatchTest::driverKeepingItsOwnValueIsNoMatch_data()
{
    QTest::addColumn<Change>("driverChange");
    QTest::addColumn<bool>("match");

    QTest::newRow("all taken") << Change([](termios&) {}) << true;
    QTest::newRow("rate kept") << Change([](termios& t) { cfsetspeed(&t, B9600); }) << false;
    QTest::newRow("input rate kept") << Change([](termios& t) { cfsetispeed(&t, B115200); }) << false;
    QTest::newRow("data bits kept") << Change([](termios& t) { t.c_cflag = (t.c_cflag & ~CSIZE) | CS7; }) << false;
    QTest::newRow("one stop bit kept") << Change([](termios& t) { t.c_cflag &= ~CSTOPB; }) << false;
    QTest::newRow("odd parity dropped") << Change([](termios& t) { t.c_cflag &= ~PARODD; }) << false;
    QTest::newRow("mark or space dropped") << Change([](termios& t) { t.c_cflag &= ~CMSPAR; }) << false;
    QTest::newRow("hardware flow control dropped") << Change([](termios& t) { t.c_cflag &= ~CRTSCTS; }) << false;
    QTest::newRow("XOFF dropped") << Change([](termios& t) { t.c_iflag &= ~IXOFF; }) << false;
    QTest::newRow("modem lines not ignored") << Change([](termios& t) { t.c_cflag &= ~CLOCAL; }) << false;
    QTest::newRow("hang-up on close is not a line setting") << Change([](termios& t) { t.c_cflag |= HUPCL; }) << true;
    QTest::newRow("echo is not a line setting") << Change([](termios& t) { t.c_lflag |= ECHO; }) << true;
    QTest::newRow("minimum read is not a line setting") << Change([](termios& t) { t.c_cc[VMIN] = 5; }) << true;
}

void LineSettingsMatchTest::driverKeepingItsOwnValueIsNoMatch()
{
    QFETCH(Change, driverChange);
    QFETCH(bool, match);

    termios wanted{};
    cfmakeraw(&wanted);
    wanted.c_cflag |= CLOCAL | CREAD | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS;
    wanted.c_iflag |= IXON | IXOFF;
    cfsetspeed(&wanted, B460800);

    termios applied = wanted;
    driverChange(applied);
    QCOMPARE(serial::lineSettingsMatch(wanted, applied), match);
}

KALVORA_TEST_MAIN(LineSettingsMatchTest)
#include "LineSettingsMatchTest.moc"
