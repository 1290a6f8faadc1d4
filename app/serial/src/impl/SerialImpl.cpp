#include "serial/src/impl/SerialImpl.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "serial/src/impl/LineSettingsMatch.h"
#include "serial/src/impl/TransferDeadline.h"

namespace serial {

namespace {

constexpr const char* kReadError = "Error while reading from the serial port: ";
constexpr const char* kWriteError = "Error while writing to the serial port: ";

std::string withErrno(const char* prefix, int error)
{
    return prefix + std::to_string(error);
}

bool speedFor(uint32_t baudrate, speed_t& speed)
{
    struct Rate
    {
        uint32_t baud;
        speed_t speed;
    };
    static const Rate rates[] = {
        {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
        {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
        {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
        {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
        {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
    };
    for (const Rate& rate : rates) {
        if (rate.baud == baudrate) {
            speed = rate.speed;
            return true;
        }
    }
    return false;
}

bool readsBack(int fd, const struct termios& wanted)
{
    struct termios applied;
    return ::tcgetattr(fd, &applied) == 0 && lineSettingsMatch(wanted, applied);
}

bool isHangUp(short revents, short wanted)
{
    return (revents & (POLLHUP | POLLERR | POLLNVAL)) && !(revents & wanted);
}

int pollMs(uint32_t ms)
{
    return ms > uint32_t(INT_MAX) ? INT_MAX : int(ms);
}

} // namespace

Serial::SerialImpl::SerialImpl(const std::string& port, uint32_t baudrate, ByteSize bytesize, Parity parity,
                               StopBits stopbits, FlowControl flowcontrol)
    : m_port(port),
      m_baudrate(baudrate),
      m_parity(parity),
      m_bytesize(bytesize),
      m_stopbits(stopbits),
      m_flowcontrol(flowcontrol)
{
    if (!m_port.empty())
        open();
}

Serial::SerialImpl::~SerialImpl()
{
    try {
        close();
    } catch (const IOException&) {
        // A destructor has no one to report to; the descriptor is released anyway.
    }
}

void Serial::SerialImpl::open()
{
    if (m_port.empty())
        throw std::invalid_argument("Empty port is invalid.");
    if (m_isOpen)
        throw SerialException("Serial port already open.");

    const int fd = ::open(m_port.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENODEV || error == ENXIO)
            THROW_SERIAL_IO(("Specified port, " + m_port + ", does not exist.").c_str());
        THROW_SERIAL_IO(withErrno("Unknown error opening the serial port: ", error).c_str());
    }
    // Keeps other programs off the port. It fails only on a file that is no
    // terminal, which reading the line state below reports.
    ::ioctl(fd, TIOCEXCL);
    m_fd = fd;
    try {
        applySettings();
    } catch (...) {
        if (m_fd >= 0)
            releaseHandle();
        throw;
    }
    m_isOpen = true;
}

void Serial::SerialImpl::close()
{
    if (!m_isOpen)
        return;
    const int fd = m_fd;
    m_fd = -1;
    m_isOpen = false;
    if (fd < 0)
        return;
    ::ioctl(fd, TIOCNXCL);
    // The descriptor is gone after close() even when it reports an error, so the
    // port counts as closed either way: retrying could close a recycled descriptor.
    if (::close(fd) != 0 && errno != EINTR)
        THROW_SERIAL_IO(withErrno("Error while closing serial port: ", errno).c_str());
}

bool Serial::SerialImpl::isOpen() const
{
    return m_isOpen;
}

void Serial::SerialImpl::releaseHandle()
{
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
    m_isOpen = false;
}

void Serial::SerialImpl::applySettings()
{
    if (m_fd < 0)
        THROW_SERIAL_IO("Invalid file descriptor, is the serial port open?");
    struct termios options;
    if (::tcgetattr(m_fd, &options) != 0)
        THROW_SERIAL_IO("Error getting the serial port state.");

    applyLineSettings(options);

    speed_t speed = B0;
    const bool applied = speedFor(m_baudrate, speed) && ::cfsetispeed(&options, speed) == 0
                         && ::cfsetospeed(&options, speed) == 0 && ::tcsetattr(m_fd, TCSANOW, &options) == 0
                         && readsBack(m_fd, options);
    if (!applied) {
        releaseHandle();
        THROW_SERIAL_IO("Error setting serial port settings.");
    }
    // The time-outs need nothing from the driver: reads and writes wait with poll.
}

void Serial::SerialImpl::applyLineSettings(struct termios& options) const
{
    const tcflag_t driverInputFlow = options.c_iflag & kSoftwareFlowFlags;
    const tcflag_t driverHardwareFlow = options.c_cflag & CRTSCTS;

    ::cfmakeraw(&options);
    options.c_cflag |= CLOCAL | CREAD;
    // With a minimum of one byte a non-blocking read of an empty queue fails with
    // EAGAIN, so that a read of 0 bytes means only one thing: a hang-up.
    options.c_cc[VMIN] = 1;
    options.c_cc[VTIME] = 0;

    tcflag_t charSize = CS8;
    switch (m_bytesize) {
    case eightbits: charSize = CS8; break;
    case sevenbits: charSize = CS7; break;
    case sixbits: charSize = CS6; break;
    case fivebits: charSize = CS5; break;
    default: throw std::invalid_argument("invalid char len");
    }
    options.c_cflag = (options.c_cflag & ~CSIZE) | charSize;

    switch (m_stopbits) {
    case stopbits_one: options.c_cflag &= ~CSTOPB; break;
    // A terminal knows one or two stop bits; one and a half is sent as two.
    case stopbits_one_point_five:
    case stopbits_two: options.c_cflag |= CSTOPB; break;
    default: throw std::invalid_argument("invalid stop bit");
    }

    options.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (m_parity) {
    case parity_none: break;
    case parity_odd: options.c_cflag |= PARENB | PARODD; break;
    case parity_even: options.c_cflag |= PARENB; break;
    case parity_mark: options.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case parity_space: options.c_cflag |= PARENB | CMSPAR; break;
    default: throw std::invalid_argument("invalid parity");
    }

    options.c_iflag &= ~kSoftwareFlowFlags;
    options.c_cflag &= ~CRTSCTS;
    switch (m_flowcontrol) {
    case flowcontrol_none: break;
    case flowcontrol_software: options.c_iflag |= IXON | IXOFF; break;
    case flowcontrol_hardware: options.c_cflag |= CRTSCTS; break;
    default:
        options.c_iflag |= driverInputFlow;
        options.c_cflag |= driverHardwareFlow;
        break;
    }
}

void Serial::SerialImpl::requireOpen(const char* operation) const
{
    if (!m_isOpen)
        throw PortNotOpenedException(operation);
}

// A vanished device (an unplugged adapter, the far end of a pseudo terminal
// closed) reports a hang-up and then reads nothing forever; it is an error, not
// a time-out.
void Serial::SerialImpl::throwHangUp(const char* errorPrefix) const
{
    THROW_SERIAL_IO(withErrno(errorPrefix, EIO).c_str());
}

size_t Serial::SerialImpl::available()
{
    if (!m_isOpen)
        return 0;
    int count = 0;
    if (::ioctl(m_fd, FIONREAD, &count) != 0)
        THROW_SERIAL_IO(withErrno("Error while checking status of the serial port: ", errno).c_str());
    return size_t(count);
}

bool Serial::SerialImpl::waitReadable(uint32_t timeoutMs)
{
    requireOpen("Serial::waitReadable");
    struct pollfd port = {m_fd, POLLIN, 0};
    const int ready = ::poll(&port, 1, pollMs(timeoutMs));
    if (ready < 0 && errno != EINTR)
        THROW_SERIAL_IO(withErrno(kReadError, errno).c_str());
    if (ready > 0 && isHangUp(port.revents, POLLIN))
        throwHangUp(kReadError);
    return ready > 0;
}

void Serial::SerialImpl::waitByteTimes(size_t count)
{
    requireOpen("Serial::waitByteTimes");
    // Start bit, data bits, parity bit and stop bits, in tenths of a bit.
    const double stopTenths = m_stopbits == stopbits_two ? 20 : m_stopbits == stopbits_one_point_five ? 15 : 10;
    const double bitTenths = 10.0 * (1 + m_bytesize + (m_parity == parity_none ? 0 : 1)) + stopTenths;
    std::this_thread::sleep_for(std::chrono::duration<double>(double(count) * bitTenths / (10.0 * m_baudrate)));
}

size_t Serial::SerialImpl::read(uint8_t* buffer, size_t size)
{
    requireOpen("Serial::read");
    using Clock = TransferDeadline::Clock;
    TransferDeadline deadline = TransferDeadline::forRead(m_timeout, size, Clock::now());
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(m_fd, buffer + got, size - got);
        if (n > 0) {
            got += size_t(n);
            deadline.byteArrived(Clock::now());
            continue;
        }
        const int error = n == 0 ? EIO : errno;
        if (error == EINTR)
            continue;
        if (error == EIO) {
            // What arrived before the hang-up is handed over; the next read reports it.
            if (got > 0)
                break;
            throwHangUp(kReadError);
        }
        if (error != EAGAIN && error != EWOULDBLOCK)
            THROW_SERIAL_IO(withErrno(kReadError, error).c_str());

        const int wait = deadline.waitMs(Clock::now());
        if (wait == 0)
            break;
        struct pollfd port = {m_fd, POLLIN, 0};
        if (::poll(&port, 1, wait) < 0 && errno != EINTR)
            THROW_SERIAL_IO(withErrno(kReadError, errno).c_str());
        if (isHangUp(port.revents, POLLIN)) {
            if (got > 0)
                break;
            throwHangUp(kReadError);
        }
    }
    return got;
}

size_t Serial::SerialImpl::write(const uint8_t* data, size_t size)
{
    requireOpen("Serial::write");
    using Clock = TransferDeadline::Clock;
    const TransferDeadline deadline = TransferDeadline::forWrite(m_timeout, size, Clock::now());
    size_t sent = 0;
    while (sent < size) {
        const ssize_t n = ::write(m_fd, data + sent, size - sent);
        if (n > 0) {
            sent += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            THROW_SERIAL_IO(withErrno(kWriteError, errno).c_str());

        const int wait = deadline.waitMs(Clock::now());
        if (wait == 0)
            break;
        struct pollfd port = {m_fd, POLLOUT, 0};
        if (::poll(&port, 1, wait) < 0 && errno != EINTR)
            THROW_SERIAL_IO(withErrno(kWriteError, errno).c_str());
        if (isHangUp(port.revents, POLLOUT))
            throwHangUp(kWriteError);
    }
    return sent;
}

void Serial::SerialImpl::setPort(const std::string& port)
{
    m_port = port;
}

std::string Serial::SerialImpl::getPort() const
{
    return m_port;
}

void Serial::SerialImpl::setTimeout(const Timeout& timeout)
{
    m_timeout = timeout;
    if (m_isOpen)
        applySettings();
}

Timeout Serial::SerialImpl::getTimeout() const
{
    return m_timeout;
}

void Serial::SerialImpl::setBaudRate(uint32_t baudrate)
{
    m_baudrate = baudrate;
    if (m_isOpen)
        applySettings();
}

uint32_t Serial::SerialImpl::getBaudRate() const
{
    return m_baudrate;
}

void Serial::SerialImpl::setByteSize(ByteSize bytesize)
{
    m_bytesize = bytesize;
    if (m_isOpen)
        applySettings();
}

ByteSize Serial::SerialImpl::getByteSize() const
{
    return m_bytesize;
}

void Serial::SerialImpl::setParity(Parity parity)
{
    m_parity = parity;
    if (m_isOpen)
        applySettings();
}

Parity Serial::SerialImpl::getParity() const
{
    return m_parity;
}

void Serial::SerialImpl::setStopBits(StopBits stopbits)
{
    m_stopbits = stopbits;
    if (m_isOpen)
        applySettings();
}

StopBits Serial::SerialImpl::getStopBits() const
{
    return m_stopbits;
}

void Serial::SerialImpl::setFlowControl(FlowControl flowcontrol)
{
    m_flowcontrol = flowcontrol;
    if (m_isOpen)
        applySettings();
}

FlowControl Serial::SerialImpl::getFlowControl() const
{
    return m_flowcontrol;
}

void Serial::SerialImpl::flush()
{
    requireOpen("Serial::flush");
    ::tcdrain(m_fd);
}

void Serial::SerialImpl::flushInput()
{
    requireOpen("Serial::flushInput");
    ::tcflush(m_fd, TCIFLUSH);
}

void Serial::SerialImpl::flushOutput()
{
    requireOpen("Serial::flushOutput");
    ::tcflush(m_fd, TCOFLUSH);
}

void Serial::SerialImpl::sendBreak(int durationMs)
{
    requireOpen("Serial::sendBreak");
    ::ioctl(m_fd, TIOCSBRK);
    std::this_thread::sleep_for(std::chrono::milliseconds(durationMs));
    ::ioctl(m_fd, TIOCCBRK);
}

void Serial::SerialImpl::setBreak(bool level)
{
    requireOpen("Serial::setBreak");
    ::ioctl(m_fd, level ? TIOCSBRK : TIOCCBRK);
}

void Serial::SerialImpl::controlLine(int request, int line, const char* operation)
{
    requireOpen(operation);
    ::ioctl(m_fd, request, &line);
}

void Serial::SerialImpl::setRTS(bool level)
{
    controlLine(level ? TIOCMBIS : TIOCMBIC, TIOCM_RTS, "Serial::setRTS");
}

void Serial::SerialImpl::setDTR(bool level)
{
    controlLine(level ? TIOCMBIS : TIOCMBIC, TIOCM_DTR, "Serial::setDTR");
}

bool Serial::SerialImpl::waitForChange()
{
    requireOpen("Serial::waitForChange");
    return ::ioctl(m_fd, TIOCMIWAIT, TIOCM_CTS | TIOCM_DSR | TIOCM_RNG | TIOCM_CD) == 0;
}

bool Serial::SerialImpl::modemLine(int line, const char* errorText, const char* operation)
{
    requireOpen(operation);
    int status = 0;
    if (::ioctl(m_fd, TIOCMGET, &status) != 0)
        THROW_SERIAL_IO(errorText);
    return (status & line) != 0;
}

bool Serial::SerialImpl::getCTS()
{
    return modemLine(TIOCM_CTS, "Error getting the status of the CTS line.", "Serial::getCTS");
}

bool Serial::SerialImpl::getDSR()
{
    return modemLine(TIOCM_DSR, "Error getting the status of the DSR line.", "Serial::getDSR");
}

bool Serial::SerialImpl::getRI()
{
    return modemLine(TIOCM_RNG, "Error getting the status of the RI line.", "Serial::getRI");
}

bool Serial::SerialImpl::getCD()
{
    return modemLine(TIOCM_CD, "Error getting the status of the CD line.", "Serial::getCD");
}

void Serial::SerialImpl::claimReadLock()
{
    m_readLock.lock();
}

void Serial::SerialImpl::releaseReadLock()
{
    m_readLock.unlock();
}

void Serial::SerialImpl::claimWriteLock()
{
    m_writeLock.lock();
}

void Serial::SerialImpl::releaseWriteLock()
{
    m_writeLock.unlock();
}

} // namespace serial
