#include "ControllerFrames.h"

namespace ControllerFrames {

namespace {

void appendLittleEndian(std::string& bytes, uint32_t value, int size)
{
    for (int b = 0; b < size; ++b)
        bytes += char(value >> (8 * b));
}

void appendBigEndian(std::string& bytes, uint32_t value, int size)
{
    for (int b = size - 1; b >= 0; --b)
        bytes += char(value >> (8 * b));
}

} // namespace

std::string zeroFrame(uint16_t reading)
{
    std::string bytes("Z");
    appendBigEndian(bytes, reading, 2);
    return bytes + '\0';
}

std::string startFrame(uint16_t total)
{
    std::string bytes("ST");
    appendLittleEndian(bytes, total, 2);
    return bytes;
}

std::string pointFrame(uint16_t height)
{
    std::string bytes("B");
    appendBigEndian(bytes, height, 2);
    return bytes + 'B';
}

std::string blockTransfer(const std::vector<uint16_t>& samples, uint32_t step, uint16_t total, int announcedSamples)
{
    const int announced = announcedSamples < 0 ? int(samples.size()) : announcedSamples;
    return blockTransferWithCount(uint32_t(announced + 512) << 3, samples, step, total);
}

std::string blockTransferWithCount(uint32_t count, const std::vector<uint16_t>& samples, uint32_t step, uint16_t total)
{
    std::string bytes("\x00\x00\x00\x01", 4);
    appendBigEndian(bytes, count, 3);
    bytes += "rrr";
    appendLittleEndian(bytes, step, 3);
    appendLittleEndian(bytes, total, 2);
    bytes += "rr";
    for (uint16_t sample : samples)
        appendBigEndian(bytes, sample, 2);
    return bytes;
}

std::string contourPacket(const ContourPacket& packet)
{
    std::string bytes(1, ContourPacket::kStartByte);
    appendLittleEndian(bytes, uint32_t(packet.probeHeight), 4);
    appendLittleEndian(bytes, uint32_t(packet.consoleHeight), 4);
    appendLittleEndian(bytes, uint32_t(packet.xPosition), 3);
    bytes += char(packet.status);
    bytes += char(packet.alarm);
    return bytes;
}

ContourPacket packet(int alarm, int status, int32_t x, int32_t probeHeight, int32_t consoleHeight)
{
    ContourPacket p;
    p.probeHeight = probeHeight;
    p.consoleHeight = consoleHeight;
    p.xPosition = x;
    p.status = status;
    p.alarm = alarm;
    return p;
}

std::vector<ContourPacket> recordingPoints(int count)
{
    std::vector<ContourPacket> points;
    for (int i = 0; i < count; ++i)
        points.push_back(packet(2, 0, 100 + 10 * i, 1000 + i, 500 + i));
    return points;
}

} // namespace ControllerFrames
