#include <QtTest>

#include <functional>
#include <stdexcept>

#include "PtyPair.h"
#include "TestMain.h"
#include "serial/Serial.h"

using namespace serial;

using PortAction = std::function<void(Serial&)>;
Q_DECLARE_METATYPE(PortAction)

class SerialSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void openAppliesTheLineSettings_data();
    void openAppliesTheLineSettings();
    void settingsTheDriverDoesNotTakeCloseThePort_data();
    void settingsTheDriverDoesNotTakeCloseThePort();
    void invalidValueFailsOpenAndLeavesThePortClosed_data();
    void invalidValueFailsOpenAndLeavesThePortClosed();
    void invalidValueOnAnOpenPortKeepsTheDriverSettings();
    void unknownFlowControlKeepsTheDriverFlowControl();
    void setterOnAnOpenPortAppliesAtOnce();
    void setterOnAClosedPortOnlyStores();
    void constructorHandsOverTheTimeouts();
    void missingPortDoesNotExist();
    void fileThatIsNoTerminalIsRefused();
    void emptyNameGivesAClosedPort();
    void openingAnOpenPortThrowsSerialException();
    void closeTwiceIsHarmless();
    void closedPortOperationsThrowPortNotOpened_data();
    void closedPortOperationsThrowPortNotOpened();
    void exceptionTexts();
    void setPortOnAClosedPortOnlyRenames();
    void setPortOnAnOpenPortReopensUnderTheNewName();
};

namespace {

const tcflag_t kCheckedControlFlags = CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS;
const tcflag_t kCheckedInputFlags = IXON | IXOFF;

template <typename Exception>
QString messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& e) {
        return QString::fromStdString(e.what());
    }
    return QString();
}

QString ioDescription(const QString& what)
{
    const QString prefix = QStringLiteral("IO Exception: ");
    const int fileAt = what.indexOf(QStringLiteral(", file "));
    return what.startsWith(prefix) && fileAt > 0 ? what.mid(prefix.size(), fileAt - prefix.size()) : what;
}

} // namespace

void SerialSettingsTest::openAppliesTheLineSettings_data()
{
    QTest::addColumn<uint>("baud");
    QTest::addColumn<uint>("stopbits");
    QTest::addColumn<uint>("flow");
    QTest::addColumn<uint>("speed");
    QTest::addColumn<uint>("controlFlags");
    QTest::addColumn<uint>("inputFlags");

    QTest::newRow("instrument line 460800 8N1") << 460800u << 1u << 0u << uint(B460800) << uint(CS8) << 0u;
    QTest::newRow("two stop bits") << 9600u << 2u << 0u << uint(B9600) << uint(CS8 | CSTOPB) << 0u;
    QTest::newRow("one and a half stop bits as two") << 9600u << 3u << 0u << uint(B9600) << uint(CS8 | CSTOPB) << 0u;
    QTest::newRow("software flow control") << 115200u << 1u << 1u << uint(B115200) << uint(CS8) << uint(IXON | IXOFF);
    QTest::newRow("hardware flow control") << 115200u << 1u << 2u << uint(B115200) << uint(CS8 | CRTSCTS) << 0u;
}

void SerialSettingsTest::openAppliesTheLineSettings()
{
    QFETCH(uint, baud);
    QFETCH(uint, stopbits);
    QFETCH(uint, flow);
    QFETCH(uint, speed);
    QFETCH(uint, controlFlags);
    QFETCH(uint, inputFlags);

    PtyPair pty;
    Serial port(pty.slavePath(), baud, Timeout(), eightbits, parity_none, StopBits(stopbits), FlowControl(flow));
    QVERIFY(port.isOpen());
    const termios applied = pty.slaveSettings();
    QCOMPARE(uint(cfgetospeed(&applied)), speed);
    QCOMPARE(uint(cfgetispeed(&applied)), speed);
    QCOMPARE(uint(applied.c_cflag & kCheckedControlFlags), controlFlags);
    QCOMPARE(uint(applied.c_iflag & kCheckedInputFlags), inputFlags);
    QVERIFY(!(applied.c_lflag & (ICANON | ECHO | ISIG)));
    QVERIFY(!(applied.c_oflag & OPOST));
}

void SerialSettingsTest::settingsTheDriverDoesNotTakeCloseThePort_data()
{
    QTest::addColumn<uint>("baud");
    QTest::addColumn<uint>("bytesize");
    QTest::addColumn<uint>("parity");

    // A pseudo terminal keeps eight data bits and no parity whatever it is told,
    // and knows only the rates that have a constant.
    QTest::newRow("seven data bits") << 460800u << 7u << 0u;
    QTest::newRow("even parity") << 460800u << 8u << 2u;
    QTest::newRow("mark parity") << 460800u << 8u << 3u;
    QTest::newRow("rate the terminal has no constant for") << 12345u << 8u << 0u;
}

void SerialSettingsTest::settingsTheDriverDoesNotTakeCloseThePort()
{
    QFETCH(uint, baud);
    QFETCH(uint, bytesize);
    QFETCH(uint, parity);

    PtyPair pty;
    const QString what = messageOf<IOException>(
        [&] { Serial port(pty.slavePath(), baud, Timeout(), ByteSize(bytesize), Parity(parity)); });
    QCOMPARE(ioDescription(what), QStringLiteral("Error setting serial port settings."));

    Serial port(pty.slavePath(), 460800);
    QVERIFY(port.isOpen());
    const QString setterWhat = messageOf<IOException>([&] {
        port.setByteSize(ByteSize(bytesize));
        port.setParity(Parity(parity));
        port.setBaudRate(baud);
    });
    QCOMPARE(ioDescription(setterWhat), QStringLiteral("Error setting serial port settings."));
    QVERIFY(!port.isOpen());
    // The port can be opened again once the settings are ones the driver takes.
    port.setByteSize(eightbits);
    port.setParity(parity_none);
    port.setBaudRate(460800);
    port.open();
    QVERIFY(port.isOpen());
}

void SerialSettingsTest::invalidValueFailsOpenAndLeavesThePortClosed_data()
{
    QTest::addColumn<uint>("bytesize");
    QTest::addColumn<uint>("parity");
    QTest::addColumn<uint>("stopbits");
    QTest::addColumn<QString>("message");

    QTest::newRow("nine data bits") << 9u << 0u << 1u << "invalid char len";
    QTest::newRow("four data bits") << 4u << 0u << 1u << "invalid char len";
    QTest::newRow("stop bits 0") << 8u << 0u << 0u << "invalid stop bit";
    QTest::newRow("stop bits 4") << 8u << 0u << 4u << "invalid stop bit";
    QTest::newRow("parity 5") << 8u << 5u << 1u << "invalid parity";
    QTest::newRow("data bits reported before stop bits and parity") << 9u << 7u << 7u << "invalid char len";
    QTest::newRow("stop bits reported before parity") << 8u << 7u << 7u << "invalid stop bit";
}

void SerialSettingsTest::invalidValueFailsOpenAndLeavesThePortClosed()
{
    QFETCH(uint, bytesize);
    QFETCH(uint, parity);
    QFETCH(uint, stopbits);
    QFETCH(QString, message);

    PtyPair pty;
    const QString what = messageOf<std::invalid_argument>([&] {
        Serial port(pty.slavePath(), 460800, Timeout(), ByteSize(bytesize), Parity(parity), StopBits(stopbits));
    });
    QCOMPARE(what, message);

    Serial port("", 460800, Timeout(), ByteSize(bytesize), Parity(parity), StopBits(stopbits));
    port.setPort(pty.slavePath());
    QCOMPARE(messageOf<std::invalid_argument>([&] { port.open(); }), message);
    QVERIFY(!port.isOpen());
    // The descriptor was released: a port with valid settings opens the terminal.
    Serial other(pty.slavePath(), 460800);
    QVERIFY(other.isOpen());
}

void SerialSettingsTest::invalidValueOnAnOpenPortKeepsTheDriverSettings()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout(), eightbits, parity_none, stopbits_two);
    const termios before = pty.slaveSettings();

    QCOMPARE(messageOf<std::invalid_argument>([&] { port.setByteSize(ByteSize(9)); }), QStringLiteral("invalid char len"));
    QVERIFY(port.isOpen());
    QCOMPARE(uint(port.getByteSize()), 9u);
    const termios after = pty.slaveSettings();
    QCOMPARE(after.c_cflag, before.c_cflag);
    QCOMPARE(after.c_iflag, before.c_iflag);
}

void SerialSettingsTest::unknownFlowControlKeepsTheDriverFlowControl()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout(), eightbits, parity_none, stopbits_one, flowcontrol_software);
    port.setFlowControl(FlowControl(3));
    QVERIFY(port.isOpen());
    QCOMPARE(uint(pty.slaveSettings().c_iflag & kCheckedInputFlags), uint(IXON | IXOFF));

    port.setFlowControl(flowcontrol_hardware);
    port.setFlowControl(FlowControl(7));
    QCOMPARE(uint(pty.slaveSettings().c_cflag & CRTSCTS), uint(CRTSCTS));
    QCOMPARE(uint(pty.slaveSettings().c_iflag & kCheckedInputFlags), 0u);
}

void SerialSettingsTest::setterOnAnOpenPortAppliesAtOnce()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800);
    port.setBaudRate(9600);
    port.setStopBits(stopbits_two);
    const termios applied = pty.slaveSettings();
    QCOMPARE(cfgetospeed(&applied), speed_t(B9600));
    QCOMPARE(uint(applied.c_cflag & CSTOPB), uint(CSTOPB));
}

void SerialSettingsTest::setterOnAClosedPortOnlyStores()
{
    Serial port;
    port.setBaudRate(12345);
    port.setByteSize(ByteSize(9));
    port.setParity(parity_odd);
    port.setStopBits(stopbits_two);
    port.setFlowControl(flowcontrol_hardware);
    QVERIFY(!port.isOpen());
    QCOMPARE(port.getBaudRate(), 12345u);
    QCOMPARE(uint(port.getByteSize()), 9u);
    QCOMPARE(port.getParity(), parity_odd);
    QCOMPARE(port.getStopBits(), stopbits_two);
    QCOMPARE(port.getFlowControl(), flowcontrol_hardware);
}

void SerialSettingsTest::constructorHandsOverTheTimeouts()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800, Timeout::simpleTimeout(500));
    const Timeout timeout = port.getTimeout();
    QCOMPARE(timeout.inter_byte_timeout, Timeout::kMax);
    QCOMPARE(timeout.read_timeout_constant, 500u);
    QCOMPARE(timeout.read_timeout_multiplier, 0u);
    QCOMPARE(timeout.write_timeout_constant, 500u);
    QCOMPARE(timeout.write_timeout_multiplier, 0u);
}

void SerialSettingsTest::missingPortDoesNotExist()
{
    const std::string name = "/dev/ttyNoSuchPort7";
    const QString what = messageOf<IOException>([&] { Serial port(name, 460800); });
    QVERIFY2(what.startsWith(QStringLiteral("IO Exception: Specified port, /dev/ttyNoSuchPort7, does not exist., file ")),
             qPrintable(what));
}

void SerialSettingsTest::fileThatIsNoTerminalIsRefused()
{
    QFile file(QStringLiteral("not-a-port"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    Serial port;
    port.setPort(QFileInfo(file).absoluteFilePath().toStdString());
    QCOMPARE(ioDescription(messageOf<IOException>([&] { port.open(); })),
             QStringLiteral("Error getting the serial port state."));
    QVERIFY(!port.isOpen());
}

void SerialSettingsTest::emptyNameGivesAClosedPort()
{
    Serial port("", 460800, Timeout::simpleTimeout(500));
    QVERIFY(!port.isOpen());
    QCOMPARE(port.available(), size_t(0));
    QCOMPARE(messageOf<std::invalid_argument>([&] { port.open(); }), QStringLiteral("Empty port is invalid."));
}

void SerialSettingsTest::openingAnOpenPortThrowsSerialException()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800);
    QCOMPARE(messageOf<SerialException>([&] { port.open(); }),
             QStringLiteral("SerialException Serial port already open. failed."));
    QVERIFY(port.isOpen());
}

void SerialSettingsTest::closeTwiceIsHarmless()
{
    PtyPair pty;
    Serial port(pty.slavePath(), 460800);
    port.close();
    port.close();
    QVERIFY(!port.isOpen());
    QCOMPARE(port.available(), size_t(0));
    port.open();
    QVERIFY(port.isOpen());
}

void SerialSettingsTest::closedPortOperationsThrowPortNotOpened_data()
{
    QTest::addColumn<PortAction>("action");
    QTest::addColumn<QString>("message");

    const auto row = [](const char* name, PortAction action, const char* operation) {
        QTest::newRow(name) << action << QStringLiteral("PortNotOpenedException %1 failed.").arg(operation);
    };
    row("read", [](Serial& p) { p.read(4); }, "Serial::read");
    row("read into vector", [](Serial& p) { std::vector<uint8_t> v; p.read(v, 4); }, "Serial::read");
    row("readLine", [](Serial& p) { p.readLine(4, "\n"); }, "Serial::read");
    row("readLines", [](Serial& p) { p.readLines(4, "\n"); }, "Serial::read");
    row("write", [](Serial& p) { p.write(std::string("x")); }, "Serial::write");
    row("flush", [](Serial& p) { p.flush(); }, "Serial::flush");
    row("flushInput", [](Serial& p) { p.flushInput(); }, "Serial::flushInput");
    row("flushOutput", [](Serial& p) { p.flushOutput(); }, "Serial::flushOutput");
    row("setBreak", [](Serial& p) { p.setBreak(true); }, "Serial::setBreak");
    row("setRTS", [](Serial& p) { p.setRTS(true); }, "Serial::setRTS");
    row("setDTR", [](Serial& p) { p.setDTR(false); }, "Serial::setDTR");
    row("waitForChange", [](Serial& p) { p.waitForChange(); }, "Serial::waitForChange");
    row("getCTS", [](Serial& p) { p.getCTS(); }, "Serial::getCTS");
    row("getDSR", [](Serial& p) { p.getDSR(); }, "Serial::getDSR");
    row("getRI", [](Serial& p) { p.getRI(); }, "Serial::getRI");
    row("getCD", [](Serial& p) { p.getCD(); }, "Serial::getCD");
    row("waitReadable", [](Serial& p) { p.waitReadable(); }, "Serial::waitReadable");
}

void SerialSettingsTest::closedPortOperationsThrowPortNotOpened()
{
    QFETCH(PortAction, action);
    QFETCH(QString, message);

    PtyPair pty;
    Serial port(pty.slavePath(), 460800);
    port.close();
    QCOMPARE(messageOf<PortNotOpenedException>([&] { action(port); }), message);
}

void SerialSettingsTest::exceptionTexts()
{
    const IOException io("app/serial/x.cpp", 42, "Error setting timeouts.");
    QCOMPARE(QString(io.what()), QStringLiteral("IO Exception: Error setting timeouts., file app/serial/x.cpp, line 42."));
    const IOException copy(io);
    QCOMPARE(QString(copy.what()), QString(io.what()));
    QCOMPARE(copy.getLine(), 42);
    QCOMPARE(QString(SerialException("Serial port already open.").what()),
             QStringLiteral("SerialException Serial port already open. failed."));
    QCOMPARE(QString(PortNotOpenedException("Serial::read").what()),
             QStringLiteral("PortNotOpenedException Serial::read failed."));

    // A handler for one of them never catches another.
    bool caughtAsOther = false;
    try {
        try {
            throw PortNotOpenedException("Serial::read");
        } catch (const SerialException&) {
            caughtAsOther = true;
        } catch (const IOException&) {
            caughtAsOther = true;
        }
    } catch (const std::exception&) {
    }
    QVERIFY(!caughtAsOther);
}

void SerialSettingsTest::setPortOnAClosedPortOnlyRenames()
{
    PtyPair pty;
    Serial port;
    port.setPort(pty.slavePath());
    QVERIFY(!port.isOpen());
    QCOMPARE(port.getPort(), pty.slavePath());
}

void SerialSettingsTest::setPortOnAnOpenPortReopensUnderTheNewName()
{
    PtyPair first;
    PtyPair second;
    Serial port(first.slavePath(), 460800, Timeout::simpleTimeout(500));
    port.setPort(second.slavePath());
    QVERIFY(port.isOpen());
    QCOMPARE(port.getPort(), second.slavePath());

    QCOMPARE(port.write(std::string("hi")), size_t(2));
    QCOMPARE(second.readMaster(2, 1000), std::string("hi"));
    QCOMPARE(first.readMaster(2, 50), std::string());
}

KALVORA_TEST_MAIN(SerialSettingsTest)
#include "SerialSettingsTest.moc"
