#include "ContourPacket.h"

#include <cassert>

namespace {

uint32_t littleEndian(std::string_view bytes, int offset, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[std::size_t(offset + i)]);
    return value;
}

} // namespace

ContourPacket ContourPacket::parseContourPacket(std::string_view body)
{
    assert(body.size() >= std::size_t(kBodySize));
    ContourPacket packet;
    packet.probeHeight = static_cast<int32_t>(littleEndian(body, 0, 4));
    packet.consoleHeight = static_cast<int32_t>(littleEndian(body, 4, 4));
    packet.xPosition = static_cast<int32_t>(littleEndian(body, 8, 3));
    packet.status = static_cast<unsigned char>(body[11]);
    packet.alarm = static_cast<unsigned char>(body[12]);
    return packet;
}
