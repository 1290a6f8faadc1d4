#include "DevicePort.h"

#include "serial/Serial.h"

#include <QDebug>
#include <QMutexLocker>

namespace {

constexpr uint32_t kDeviceBaudRate = 460800;

// Opens the port with the instrument's line settings (8 data bits, no parity,
// one stop bit, no flow control) and no time-outs; throws when it cannot.
std::unique_ptr<serial::Serial> openWithDevicePortSettings(const std::string& name)
{
    return std::make_unique<serial::Serial>(name, kDeviceBaudRate, serial::Timeout(), serial::eightbits,
                                            serial::parity_none, serial::stopbits_one, serial::flowcontrol_none);
}

} // namespace

DevicePort::DevicePort()
{
    connect(&m_searchTimer, &QTimer::timeout, this, &DevicePort::search);
    m_searchTimer.setSingleShot(true);
    m_searchTimer.start(kFirstSearchDelayMs);
}

DevicePort::~DevicePort() = default;

void DevicePort::searchAgain()
{
    m_searchTimer.start();
}

void DevicePort::stopSearching()
{
    m_searchTimer.stop();
}

bool DevicePort::isOpen() const
{
    return m_serial && m_serial->isOpen();
}

QString DevicePort::name() const
{
    QMutexLocker lock(&m_nameMutex);
    return QString::fromStdString(m_name);
}

void DevicePort::search()
{
    emit searchStarting();
    release();
    const std::optional<std::string> name = probe();
    if (!name || !open(*name)) {
        emit notFound();
        m_searchTimer.start(kSearchRetryDelayMs);
        return;
    }
    {
        QMutexLocker lock(&m_nameMutex);
        m_name = *name;
    }
    emit found();
}

std::optional<std::string> DevicePort::probe() const
{
    for (const serial::PortInfo& info : serial::searchable_ports()) {
        if (info.port == kSkippedPort)
            continue;
        std::unique_ptr<serial::Serial> probe;
        try {
            probe = openWithDevicePortSettings(info.port);
        } catch (const std::exception&) {
            continue;
        }
        if (probe->isOpen())
            return probe->getPort();
    }
    return std::nullopt;
}

// A port can vanish between the probe and this second opening; that counts
// as finding nothing.
bool DevicePort::open(const std::string& name)
{
    try {
        std::unique_ptr<serial::Serial> port = openWithDevicePortSettings(name);
        port->setTimeout(serial::Timeout::simpleTimeout(kReadTimeoutMs));
        m_serial = std::move(port);
        return true;
    } catch (const std::exception& e) {
        qDebug() << "Device: cannot open" << name.c_str() << e.what();
        return false;
    }
}

void DevicePort::close()
{
    try {
        m_serial->close();
    } catch (const std::exception& e) {
        qDebug() << "Device: closing the port failed" << e.what();
    }
}

void DevicePort::reopen()
{
    try {
        m_serial->open();
    } catch (const std::exception&) {
        qDebug("Faild attempt");
    }
}

void DevicePort::release()
{
    m_serial.reset();
}
