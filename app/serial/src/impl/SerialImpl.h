#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "serial/Serial.h"

struct termios;

namespace serial {

// The POSIX side of a port: a terminal device opened non-blocking and exclusive,
// raw line settings through termios, and reads and writes as poll-based loops
// bounded by the port's time-outs.
class Serial::SerialImpl
{
public:
    SerialImpl(const std::string& port, uint32_t baudrate, ByteSize bytesize, Parity parity, StopBits stopbits,
               FlowControl flowcontrol);
    virtual ~SerialImpl();

    void open();
    void close();
    bool isOpen() const;

    size_t available();
    bool waitReadable(uint32_t timeoutMs);
    void waitByteTimes(size_t count);

    size_t read(uint8_t* buffer, size_t size);
    size_t write(const uint8_t* data, size_t size);

    void setPort(const std::string& port);
    std::string getPort() const;

    void setTimeout(const Timeout& timeout);
    Timeout getTimeout() const;

    void setBaudRate(uint32_t baudrate);
    uint32_t getBaudRate() const;
    void setByteSize(ByteSize bytesize);
    ByteSize getByteSize() const;
    void setParity(Parity parity);
    Parity getParity() const;
    void setStopBits(StopBits stopbits);
    StopBits getStopBits() const;
    void setFlowControl(FlowControl flowcontrol);
    FlowControl getFlowControl() const;

    void flush();
    void flushInput();
    void flushOutput();

    void sendBreak(int durationMs);
    void setBreak(bool level);
    void setRTS(bool level);
    void setDTR(bool level);
    bool waitForChange();
    bool getCTS();
    bool getDSR();
    bool getRI();
    bool getCD();

    void claimReadLock();
    void releaseReadLock();
    void claimWriteLock();
    void releaseWriteLock();

private:
    void applySettings();
    void applyLineSettings(struct termios& options) const;
    void releaseHandle();
    bool modemLine(int line, const char* errorText, const char* operation);
    void controlLine(int request, int line, const char* operation);
    void requireOpen(const char* operation) const;
    [[noreturn]] void throwHangUp(const char* errorPrefix) const;

    std::string m_port;
    int m_fd = -1;
    std::atomic<bool> m_isOpen{false};
    Timeout m_timeout;
    uint32_t m_baudrate;
    Parity m_parity;
    ByteSize m_bytesize;
    StopBits m_stopbits;
    FlowControl m_flowcontrol;
    std::mutex m_readLock;
    std::mutex m_writeLock;
};

} // namespace serial
