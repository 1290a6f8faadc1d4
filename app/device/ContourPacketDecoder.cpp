#include "ContourPacketDecoder.h"

void ContourPacketDecoder::reset()
{
    m_filled = 0;
    m_inPacket = false;
}

std::size_t ContourPacketDecoder::bytesWanted() const
{
    return m_inPacket ? std::size_t(ContourPacket::kBodySize - m_filled) : 1;
}

void ContourPacketDecoder::decode(std::string_view bytes, std::vector<ContourPacket>& out)
{
    const std::size_t wanted = bytesWanted();
    for (char byte : bytes) {
        if (!m_inPacket) {
            m_inPacket = byte == ContourPacket::kStartByte;
            continue;
        }
        m_body[m_filled++] = byte;
        if (m_filled == ContourPacket::kBodySize) {
            out.push_back(ContourPacket::parseContourPacket(std::string_view(m_body, sizeof m_body)));
            reset();
        }
    }
    if (bytes.size() < wanted && m_inPacket)
        reset();
}
