// Unpaced transfer through a pseudo terminal, read back one byte per call, the
// way a reader of short replies does. The instrument line runs at 460800 baud,
// 46,080 bytes per second; the reader has to keep up with three times that.

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "PtyPair.h"
#include "serial/Serial.h"

namespace {

constexpr double kLineBytesPerSecond = 46080.0;
constexpr double kRequiredFactor = 3.0;
constexpr size_t kTransferBytes = 1024 * 1024;

std::string pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + i / 509) & 0xff);
    return bytes;
}

template <typename ReadOneByte>
bool measure(const char* name, ReadOneByte readOneByte)
{
    PtyPair pty;
    serial::Serial port(pty.slavePath(), 460800, serial::Timeout::simpleTimeout(500));
    const std::string sent = pattern(kTransferBytes);
    std::string received;
    received.reserve(sent.size());

    const auto start = std::chrono::steady_clock::now();
    std::thread writer([&] { pty.writeMaster(sent); });
    while (received.size() < sent.size()) {
        if (!readOneByte(port, received))
            break;
    }
    const auto end = std::chrono::steady_clock::now();
    writer.join();

    const double seconds = std::chrono::duration<double>(end - start).count();
    const double bytesPerSecond = double(received.size()) / seconds;
    const bool intact = received == sent;
    const bool fastEnough = bytesPerSecond >= kRequiredFactor * kLineBytesPerSecond;
    std::printf("%-28s %9zu bytes in %.3f s: %12.0f bytes/s = %6.1f x line rate (need %.0f x) %s%s\n", name,
                received.size(), seconds, bytesPerSecond, bytesPerSecond / kLineBytesPerSecond, kRequiredFactor,
                fastEnough ? "ok" : "TOO SLOW", intact ? "" : ", DATA DIFFERS");
    return fastEnough && intact;
}

} // namespace

int main()
{
    bool ok = measure("read(buffer, 1)", [](serial::Serial& port, std::string& received) {
        uint8_t byte = 0;
        if (port.read(&byte, 1) != 1)
            return false;
        received.push_back(char(byte));
        return true;
    });
    ok = measure("read(1) -> std::string", [](serial::Serial& port, std::string& received) {
        const std::string byte = port.read(1);
        received += byte;
        return !byte.empty();
    }) && ok;
    return ok ? 0 : 1;
}
