#include "serial/PortInfo.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <system_error>

namespace serial {

namespace fs = std::filesystem;

namespace {

// How far above a terminal's device the USB device with its product name and
// identifiers sits: the port of a USB serial converter, its interface, the device.
constexpr int kAncestorsSearched = 3;

std::string firstLine(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    return line;
}

// The content of the attribute file in the device directory or the nearest of
// its parents that has it; empty when none has it.
std::string nearestAttribute(const fs::path& device, const char* attribute)
{
    fs::path dir = device;
    for (int level = 0; level <= kAncestorsSearched && !dir.empty(); ++level) {
        std::error_code error;
        if (fs::is_regular_file(dir / attribute, error))
            return firstLine(dir / attribute);
        if (dir == dir.parent_path())
            break;
        dir = dir.parent_path();
    }
    return std::string();
}

// Serial drivers register placeholder ports that no hardware backs; the serial
// core reports their UART type as 0 (unknown).
bool isPlaceholder(const fs::path& ttyEntry)
{
    std::error_code error;
    const fs::path type = ttyEntry / "type";
    return fs::is_regular_file(type, error) && firstLine(type) == "0";
}

std::mutex& listerMutex()
{
    static std::mutex mutex;
    return mutex;
}

PortLister& installedLister()
{
    static PortLister lister;
    return lister;
}

} // namespace

std::vector<PortInfo> searchable_ports()
{
    PortLister lister;
    {
        std::lock_guard<std::mutex> lock(listerMutex());
        lister = installedLister();
    }
    return lister ? lister() : list_ports();
}

void set_port_lister(PortLister lister)
{
    std::lock_guard<std::mutex> lock(listerMutex());
    installedLister() = std::move(lister);
}

std::vector<PortInfo> list_ports(const std::string& ttyClassDir)
{
    std::vector<PortInfo> ports;
    std::error_code error;
    fs::directory_iterator entries(ttyClassDir, error);
    if (error)
        return ports;
    for (const fs::directory_entry& entry : entries) {
        const fs::path ttyEntry = entry.path();
        std::error_code linkError;
        const fs::path device = fs::canonical(ttyEntry / "device", linkError);
        if (linkError || isPlaceholder(ttyEntry))
            continue;
        ports.push_back(PortInfo{"/dev/" + ttyEntry.filename().string(), nearestAttribute(device, "product"),
                                 nearestAttribute(device, "modalias")});
    }
    std::sort(ports.begin(), ports.end(), [](const PortInfo& a, const PortInfo& b) { return a.port < b.port; });
    return ports;
}

} // namespace serial
