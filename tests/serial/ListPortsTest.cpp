#include <QtTest>

#include "TestMain.h"
#include "serial/PortInfo.h"

class ListPortsTest : public QObject
{
    Q_OBJECT

private slots:
    void listsTerminalsBackedByADevice();
    void missingDirectoryListsNothing();
};

namespace {

// A small copy of the sysfs layout: devices under "devices/", the terminal class
// directory "class/tty" holding links to them.
class FakeSysfs
{
public:
    FakeSysfs() { QVERIFY(m_root.isValid()); }

    QString ttyClassDir() const { return m_root.filePath(QStringLiteral("class/tty")); }

    void addFile(const QString& path, const QByteArray& content)
    {
        const QString full = m_root.filePath(path);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile file(full);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    void addLink(const QString& path, const QString& target)
    {
        const QString full = m_root.filePath(path);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QVERIFY(QFile::link(target, full));
    }

    // A terminal under the device directory; a device of "" gives one without a
    // device link, as the virtual consoles are.
    void addTerminal(const QString& name, const QString& device)
    {
        const QString ttyDir = device.isEmpty() ? QStringLiteral("devices/virtual/tty/") + name
                                                : QStringLiteral("devices/") + device + QStringLiteral("/tty/") + name;
        addFile(ttyDir + QStringLiteral("/dev"), "4:64\n");
        if (!device.isEmpty())
            addLink(ttyDir + QStringLiteral("/device"), m_root.filePath(QStringLiteral("devices/") + device));
        addLink(QStringLiteral("class/tty/") + name, m_root.filePath(ttyDir));
    }

    QString ttyDir(const QString& name) const { return QStringLiteral("class/tty/") + name; }

private:
    QTemporaryDir m_root;
};

} // namespace

void ListPortsTest::listsTerminalsBackedByADevice()
{
    FakeSysfs sysfs;
    sysfs.addTerminal(QStringLiteral("tty0"), QString());
    sysfs.addTerminal(QStringLiteral("console"), QString());

    sysfs.addFile(QStringLiteral("devices/pnp0/00:05/modalias"), "acpi:PNP0501:\n");
    sysfs.addTerminal(QStringLiteral("ttyS0"), QStringLiteral("pnp0/00:05"));
    sysfs.addFile(sysfs.ttyDir(QStringLiteral("ttyS0")) + QStringLiteral("/type"), "4\n");

    sysfs.addFile(QStringLiteral("devices/platform/serial8250/modalias"), "platform:serial8250\n");
    sysfs.addTerminal(QStringLiteral("ttyS1"), QStringLiteral("platform/serial8250"));
    sysfs.addFile(sysfs.ttyDir(QStringLiteral("ttyS1")) + QStringLiteral("/type"), "0\n");

    // A USB serial converter: the terminal's device is the converter's port,
    // under the USB interface, under the USB device that names the product.
    sysfs.addFile(QStringLiteral("devices/pci0/usb1/1-1/product"), "FT232R USB UART\n");
    sysfs.addFile(QStringLiteral("devices/pci0/usb1/1-1/1-1:1.0/modalias"), "usb:v0403p6001d0600dc00dsc00dp00icFFiscFFipFFin00\n");
    sysfs.addFile(QStringLiteral("devices/pci0/usb1/1-1/1-1:1.0/ttyUSB0/port_number"), "0\n");
    sysfs.addTerminal(QStringLiteral("ttyUSB0"), QStringLiteral("pci0/usb1/1-1/1-1:1.0/ttyUSB0"));

    // A CDC device: the terminal's device is the USB interface itself.
    sysfs.addFile(QStringLiteral("devices/pci0/usb1/1-2/product"), "Kalvora controller\n");
    sysfs.addFile(QStringLiteral("devices/pci0/usb1/1-2/1-2:1.0/modalias"), "usb:v2341p0043d0001dc02dsc00dp00ic02isc02ip01in00\n");
    sysfs.addTerminal(QStringLiteral("ttyACM0"), QStringLiteral("pci0/usb1/1-2/1-2:1.0"));

    // A device link that leads nowhere, as when a device is being removed.
    sysfs.addFile(QStringLiteral("devices/gone/tty/ttyUSB9/dev"), "188:9\n");
    sysfs.addLink(QStringLiteral("devices/gone/tty/ttyUSB9/device"), QStringLiteral("/nonexistent/device"));
    sysfs.addLink(QStringLiteral("class/tty/ttyUSB9"), QDir(sysfs.ttyClassDir()).filePath("../../devices/gone/tty/ttyUSB9"));

    const std::vector<serial::PortInfo> ports = serial::list_ports(sysfs.ttyClassDir().toStdString());

    QStringList listed;
    for (const serial::PortInfo& port : ports)
        listed << QString::fromStdString(port.port + "|" + port.description + "|" + port.hardware_id);
    QCOMPARE(listed, (QStringList{
                         "/dev/ttyACM0|Kalvora controller|usb:v2341p0043d0001dc02dsc00dp00ic02isc02ip01in00",
                         "/dev/ttyS0||acpi:PNP0501:",
                         "/dev/ttyUSB0|FT232R USB UART|usb:v0403p6001d0600dc00dsc00dp00icFFiscFFipFFin00",
                     }));
}

void ListPortsTest::missingDirectoryListsNothing()
{
    QVERIFY(serial::list_ports("/nonexistent/class/tty").empty());
}

KALVORA_TEST_MAIN(ListPortsTest)
#include "ListPortsTest.moc"
