#pragma once

#include <string>
#include <vector>

namespace serial {

// One serial port present on the machine; all texts UTF-8.
struct PortInfo
{
    std::string port;        // the name that Serial opens, e.g. "/dev/ttyUSB0"
    std::string description; // human-readable name, empty when there is none
    std::string hardware_id; // the port's hardware identifier, empty when there is none
};

// The serial ports present, in name order. ttyClassDir is the directory that
// lists the terminal devices; tests pass a fake tree.
std::vector<PortInfo> list_ports(const std::string& ttyClassDir = "/sys/class/tty");

} // namespace serial
