#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "serial/IOException.h"
#include "serial/LineSettings.h"
#include "serial/PortInfo.h"
#include "serial/PortNotOpenedException.h"
#include "serial/SerialException.h"
#include "serial/Timeout.h"

namespace serial {

// One serial port with blocking reads and writes bounded by time-outs. A time-out
// is never an error: a read or write it ends returns fewer bytes, possibly none.
//
// Each port has a read lock and a write lock, so one thread may block in a read
// while another writes. Closing takes both locks, so it waits for a read or write
// in progress. Opening and the setters take no lock: do not reconfigure a port
// while another thread uses it.
class Serial
{
public:
    class SerialImpl;

    // Opens the port at once when the name is not empty (throws when it cannot).
    explicit Serial(const std::string& port = std::string(), uint32_t baudrate = 9600, Timeout timeout = Timeout(),
                    ByteSize bytesize = eightbits, Parity parity = parity_none, StopBits stopbits = stopbits_one,
                    FlowControl flowcontrol = flowcontrol_none);
    virtual ~Serial();

    Serial(const Serial&) = delete;
    Serial& operator=(const Serial&) = delete;

    void open();
    bool isOpen() const;
    void close();

    size_t available();
    bool waitReadable();
    void waitByteTimes(size_t count);

    size_t read(uint8_t* buffer, size_t size);
    size_t read(std::vector<uint8_t>& buffer, size_t size);
    size_t read(std::string& buffer, size_t size);
    std::string read(size_t size);

    size_t readLine(std::string& buffer, size_t size, const std::string& eol);
    std::string readLine(size_t size, const std::string& eol);
    std::vector<std::string> readLines(size_t size, const std::string& eol);

    size_t write(const std::string& data);
    size_t write(const std::vector<uint8_t>& data);
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

private:
    std::unique_ptr<SerialImpl> m_impl;
};

} // namespace serial
