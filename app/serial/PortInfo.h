#pragma once

#include <functional>
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

using PortLister = std::function<std::vector<PortInfo>()>;

// The ports a search for an instrument goes through: list_ports(), unless a
// lister was installed. Only tests install one, to offer pseudo-terminals,
// which the system's list never holds; an empty function restores the
// system's list.
std::vector<PortInfo> searchable_ports();
void set_port_lister(PortLister lister);

} // namespace serial
