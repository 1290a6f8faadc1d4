#pragma once

#include "ContourPacket.h"

#include <string_view>
#include <vector>

// Finds the contour controller's packets in its byte stream: bytes before a
// "B" are dropped, then the 13 bytes of the packet are collected. A packet
// cut short by a quiet line is dropped whole, and the search starts again
// with the bytes that follow.
class ContourPacketDecoder
{
public:
    void reset();

    // One byte while looking for "B", then the rest of the packet.
    std::size_t bytesWanted() const;

    // Takes the bytes of one read that asked for bytesWanted() bytes; more
    // are taken as a continuing stream. A read that brought fewer inside a
    // packet drops the packet.
    void decode(std::string_view bytes, std::vector<ContourPacket>& out);

private:
    char m_body[ContourPacket::kBodySize] = {};
    int m_filled = 0;
    bool m_inPacket = false;
};
