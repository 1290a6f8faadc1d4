#pragma once

#include <cstddef>
#include <string>
#include <termios.h>

// A pseudo-terminal pair for tests. The slave end is what the code under test
// opens by path; the master end stands for the device and is driven by the test.
// The slave descriptor stays open for the object's life, so the pair survives
// the code under test closing and reopening the slave path, and the
// terminal's number stays taken even after the master has closed.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();

    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isOpen() const;
    std::string slavePath() const;
    int masterFd() const;

    void writeMaster(const std::string& bytes);
    std::string readMaster(size_t maxBytes, int timeoutMs);
    void closeMaster();

    // The line settings of the terminal as its driver holds them.
    struct termios slaveSettings() const;

private:
    int m_masterFd = -1;
    int m_slaveFd = -1;
    std::string m_slavePath;
};
