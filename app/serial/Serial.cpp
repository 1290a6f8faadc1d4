#include "serial/Serial.h"

#include "serial/src/impl/SerialImpl.h"

namespace serial {

namespace {

// Holds one of the port's two locks for the life of the object.
template <void (Serial::SerialImpl::*Claim)(), void (Serial::SerialImpl::*Release)()>
class PortLock
{
public:
    explicit PortLock(Serial::SerialImpl& port) : m_port(port) { (m_port.*Claim)(); }
    ~PortLock() { (m_port.*Release)(); }
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;

private:
    Serial::SerialImpl& m_port;
};

using ReadLock = PortLock<&Serial::SerialImpl::claimReadLock, &Serial::SerialImpl::releaseReadLock>;
using WriteLock = PortLock<&Serial::SerialImpl::claimWriteLock, &Serial::SerialImpl::releaseWriteLock>;

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Reads up to size bytes straight onto the end of the buffer; the buffer is
// as before when the read throws.
template <typename Buffer>
size_t readAppending(Serial::SerialImpl& port, Buffer& buffer, size_t size)
{
    ReadLock lock(port);
    const size_t start = buffer.size();
    buffer.resize(start + size);
    size_t count = 0;
    try {
        count = port.read(reinterpret_cast<uint8_t*>(buffer.data()) + start, size);
    } catch (...) {
        buffer.resize(start);
        throw;
    }
    buffer.resize(start + count);
    return count;
}

// Reads one byte into the line; false on a time-out.
bool readByteInto(Serial::SerialImpl& port, std::string& line)
{
    uint8_t byte = 0;
    if (port.read(&byte, 1) == 0)
        return false;
    line.push_back(char(byte));
    return true;
}

} // namespace

Serial::Serial(const std::string& port, uint32_t baudrate, Timeout timeout, ByteSize bytesize, Parity parity,
               StopBits stopbits, FlowControl flowcontrol)
    : m_impl(std::make_unique<SerialImpl>(port, baudrate, bytesize, parity, stopbits, flowcontrol))
{
    m_impl->setTimeout(timeout);
}

// A reader or writer on another thread finishes before the descriptor goes away.
Serial::~Serial()
{
    ReadLock readLock(*m_impl);
    WriteLock writeLock(*m_impl);
    try {
        m_impl->close();
    } catch (const IOException&) {
        // A destructor has no one to report to; the descriptor is released anyway.
    }
}

void Serial::open()
{
    m_impl->open();
}

bool Serial::isOpen() const
{
    return m_impl->isOpen();
}

void Serial::close()
{
    ReadLock readLock(*m_impl);
    WriteLock writeLock(*m_impl);
    m_impl->close();
}

size_t Serial::available()
{
    return m_impl->available();
}

bool Serial::waitReadable()
{
    return m_impl->waitReadable(m_impl->getTimeout().read_timeout_constant);
}

void Serial::waitByteTimes(size_t count)
{
    m_impl->waitByteTimes(count);
}

size_t Serial::read(uint8_t* buffer, size_t size)
{
    ReadLock lock(*m_impl);
    return m_impl->read(buffer, size);
}

size_t Serial::read(std::vector<uint8_t>& buffer, size_t size)
{
    return readAppending(*m_impl, buffer, size);
}

size_t Serial::read(std::string& buffer, size_t size)
{
    return readAppending(*m_impl, buffer, size);
}

std::string Serial::read(size_t size)
{
    std::string buffer;
    read(buffer, size);
    return buffer;
}

size_t Serial::readLine(std::string& buffer, size_t size, const std::string& eol)
{
    ReadLock lock(*m_impl);
    std::string line;
    while (line.size() < size && readByteInto(*m_impl, line)) {
        if (endsWith(line, eol))
            break;
    }
    buffer += line;
    return line.size();
}

std::string Serial::readLine(size_t size, const std::string& eol)
{
    std::string buffer;
    readLine(buffer, size, eol);
    return buffer;
}

std::vector<std::string> Serial::readLines(size_t size, const std::string& eol)
{
    ReadLock lock(*m_impl);
    std::vector<std::string> lines;
    std::string line;
    for (size_t count = 0; count < size && readByteInto(*m_impl, line); ++count) {
        if (endsWith(line, eol)) {
            lines.push_back(line);
            line.clear();
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

size_t Serial::write(const std::string& data)
{
    return write(reinterpret_cast<const uint8_t*>(data.data()), data.size());
}

size_t Serial::write(const std::vector<uint8_t>& data)
{
    return write(data.data(), data.size());
}

size_t Serial::write(const uint8_t* data, size_t size)
{
    WriteLock lock(*m_impl);
    return m_impl->write(data, size);
}

void Serial::setPort(const std::string& port)
{
    ReadLock readLock(*m_impl);
    WriteLock writeLock(*m_impl);
    const bool wasOpen = m_impl->isOpen();
    if (wasOpen)
        m_impl->close();
    m_impl->setPort(port);
    if (wasOpen)
        m_impl->open();
}

std::string Serial::getPort() const
{
    return m_impl->getPort();
}

void Serial::setTimeout(const Timeout& timeout)
{
    m_impl->setTimeout(timeout);
}

Timeout Serial::getTimeout() const
{
    return m_impl->getTimeout();
}

void Serial::setBaudRate(uint32_t baudrate)
{
    m_impl->setBaudRate(baudrate);
}

uint32_t Serial::getBaudRate() const
{
    return m_impl->getBaudRate();
}

void Serial::setByteSize(ByteSize bytesize)
{
    m_impl->setByteSize(bytesize);
}

ByteSize Serial::getByteSize() const
{
    return m_impl->getByteSize();
}

void Serial::setParity(Parity parity)
{
    m_impl->setParity(parity);
}

Parity Serial::getParity() const
{
    return m_impl->getParity();
}

void Serial::setStopBits(StopBits stopbits)
{
    m_impl->setStopBits(stopbits);
}

StopBits Serial::getStopBits() const
{
    return m_impl->getStopBits();
}

void Serial::setFlowControl(FlowControl flowcontrol)
{
    m_impl->setFlowControl(flowcontrol);
}

FlowControl Serial::getFlowControl() const
{
    return m_impl->getFlowControl();
}

void Serial::flush()
{
    ReadLock readLock(*m_impl);
    WriteLock writeLock(*m_impl);
    m_impl->flush();
}

void Serial::flushInput()
{
    ReadLock lock(*m_impl);
    m_impl->flushInput();
}

void Serial::flushOutput()
{
    WriteLock lock(*m_impl);
    m_impl->flushOutput();
}

void Serial::sendBreak(int durationMs)
{
    m_impl->sendBreak(durationMs);
}

void Serial::setBreak(bool level)
{
    m_impl->setBreak(level);
}

void Serial::setRTS(bool level)
{
    m_impl->setRTS(level);
}

void Serial::setDTR(bool level)
{
    m_impl->setDTR(level);
}

bool Serial::waitForChange()
{
    return m_impl->waitForChange();
}

bool Serial::getCTS()
{
    return m_impl->getCTS();
}

bool Serial::getDSR()
{
    return m_impl->getDSR();
}

bool Serial::getRI()
{
    return m_impl->getRI();
}

bool Serial::getCD()
{
    return m_impl->getCD();
}

} // namespace serial
