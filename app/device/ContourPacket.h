#pragma once

#include <cstdint>
#include <string_view>

// One packet of the contour controller: the byte "B" followed by 13 bytes,
// probe height and console height (signed 32-bit, little-endian), stage
// position x (unsigned 24-bit, little-endian), the status byte (the step
// within the current activity) and the alarm byte (the activity or alarm).
struct ContourPacket
{
    static constexpr char kStartByte = 'B';
    static constexpr int kBodySize = 13;

    int32_t probeHeight = 0;
    int32_t consoleHeight = 0;
    int32_t xPosition = 0;
    int status = 0;
    int alarm = 0;

    // The packet from the 13 bytes after "B"; body must hold kBodySize bytes.
    static ContourPacket parseContourPacket(std::string_view body);
};
