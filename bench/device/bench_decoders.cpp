// Throughput of the instrument stream decoders on one core. The line carries
// 460800 baud, about 46 KB/s; the decoders are to take at least 10 MB/s.

#include "ContourPacketDecoder.h"
#include "ContourPacketHandler.h"
#include "ProfileStreamDecoder.h"

#include <QDebug>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kStreamBytes = 64 * 1024 * 1024;
constexpr std::size_t kReadSize = 4096;

// Point frames of a trace, with a block transfer of 4096 samples now and then.
std::string profileStream()
{
    std::string stream;
    stream.reserve(kStreamBytes + 16384);
    unsigned value = 0;
    while (stream.size() < kStreamBytes) {
        stream += "ST";
        stream += {char(0x00), char(0x10)};
        for (int i = 0; i < 4096; ++i, value += 37)
            stream += {'B', char(value >> 8), char(value), 'B'};
        const uint32_t count = uint32_t(4096 + 512) << 3;
        stream += std::string("\x00\x00\x00\x01", 4);
        stream += {char(count >> 16), char(count >> 8), char(count), 0, 0, 0, char(0x40), char(0x42), char(0x0F),
                   char(0x00), char(0x10), 0, 0};
        for (int i = 0; i < 4096; ++i, value += 11)
            stream += {char(value >> 8), char(value)};
    }
    return stream;
}

// Packets of a trace, with a garbage byte between some of them.
std::string contourStream()
{
    std::string stream;
    stream.reserve(kStreamBytes + 64);
    uint32_t x = 0;
    while (stream.size() < kStreamBytes) {
        const uint32_t probe = (x * 7919) % 400000;
        const uint32_t console = 5000 + x % 1000;
        stream += 'B';
        for (uint32_t v : {probe, console})
            stream += {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        stream += {char(x), char(x >> 8), char(x >> 16), char(x % 64 == 0 ? 1 : 0), char(x % 20000 < 10000 ? 6 : 0)};
        if (x % 100 == 0)
            stream += '\x07';
        x = (x + 1) % 2000000;
    }
    return stream;
}

// Times decode (one read's bytes, which returns the number of actions) over
// the stream cut into reads of readSize (the size asked for each read).
template <typename ReadSize, typename Decode>
void measure(const char* name, const std::string& stream, ReadSize readSize, Decode decode)
{
    const auto start = std::chrono::steady_clock::now();
    std::size_t actions = 0;
    for (std::size_t position = 0; position < stream.size();) {
        const std::size_t size = std::min(readSize(), stream.size() - position);
        actions += decode(std::string_view(stream).substr(position, size));
        position += size;
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::printf("%-34s %8.1f MB/s  (%zu MB, %zu actions, %.3f s)\n", name, stream.size() / seconds.count() / 1e6,
                stream.size() >> 20, actions, seconds.count());
}

void silenceDebugOutput(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

int main()
{
    qInstallMessageHandler(silenceDebugOutput);

    const std::string profile = profileStream();
    ProfileStreamDecoder profileDecoder;
    DeviceActions profileActions;
    const auto bigReads = [] { return kReadSize; };
    measure("profile stream (frames + blocks)", profile, bigReads, [&](std::string_view bytes) {
        profileActions.clear();
        profileDecoder.decode(bytes, true, profileActions);
        return profileActions.size();
    });

    // As the link reads it: one byte between frames, one field inside a block.
    ProfileStreamDecoder linkDecoder;
    const auto linkReads = [&] { return linkDecoder.bytesWanted(); };
    measure("profile stream, link-sized reads", profile, linkReads, [&](std::string_view bytes) {
        profileActions.clear();
        linkDecoder.decode(bytes, true, profileActions);
        return profileActions.size();
    });

    const std::string contour = contourStream();
    ContourPacketDecoder packetDecoder;
    ContourPacketHandler handler;
    std::vector<ContourPacket> packets;
    DeviceActions contourActions;
    measure("contour packets + status + filter", contour, bigReads, [&](std::string_view bytes) {
        packets.clear();
        contourActions.clear();
        packetDecoder.decode(bytes, packets);
        for (const ContourPacket& packet : packets)
            handler.handlePacket(packet, false, contourActions);
        return contourActions.size();
    });
    return 0;
}
