#include "PtyPair.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace {

std::runtime_error systemError(const std::string& what)
{
    return std::runtime_error(what + ": " + std::strerror(errno));
}

void closeFd(int& fd)
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

int remainingMs(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

} // namespace

PtyPair::PtyPair()
{
    char name[256] = {};
    struct termios raw;
    std::memset(&raw, 0, sizeof raw);
    cfmakeraw(&raw);
    if (::openpty(&m_masterFd, &m_slaveFd, name, &raw, nullptr) != 0)
        throw systemError("openpty");
    m_slavePath = name;
    ::fcntl(m_masterFd, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slaveFd, F_SETFD, FD_CLOEXEC);
    // The master writes with poll below; keep it non-blocking so a full pty
    // buffer never hangs a test.
    ::fcntl(m_masterFd, F_SETFL, ::fcntl(m_masterFd, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    closeMaster();
    closeFd(m_slaveFd);
}

bool PtyPair::isOpen() const
{
    return m_masterFd >= 0;
}

std::string PtyPair::slavePath() const
{
    return m_slavePath;
}

int PtyPair::masterFd() const
{
    return m_masterFd;
}

void PtyPair::writeMaster(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        if (m_masterFd < 0)
            throw std::runtime_error("PtyPair: master is closed");
        const ssize_t n = ::write(m_masterFd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            throw systemError("PtyPair: write to master");
        struct pollfd p = {m_masterFd, POLLOUT, 0};
        ::poll(&p, 1, 100);
    }
}

std::string PtyPair::readMaster(size_t maxBytes, int timeoutMs)
{
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (m_masterFd >= 0 && received.size() < maxBytes) {
        struct pollfd p = {m_masterFd, POLLIN, 0};
        const int ready = ::poll(&p, 1, remainingMs(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0 || !(p.revents & POLLIN))
            break;
        char buffer[4096];
        const size_t want = std::min(sizeof buffer, maxBytes - received.size());
        const ssize_t n = ::read(m_masterFd, buffer, want);
        if (n <= 0)
            break;
        received.append(buffer, static_cast<size_t>(n));
    }
    return received;
}

struct termios PtyPair::slaveSettings() const
{
    struct termios settings;
    if (m_slaveFd < 0 || ::tcgetattr(m_slaveFd, &settings) != 0)
        throw systemError("PtyPair: tcgetattr");
    return settings;
}

void PtyPair::closeMaster()
{
    closeFd(m_masterFd);
}
