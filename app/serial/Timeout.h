#pragma once

#include <cstdint>
#include <limits>

namespace serial {

// Time-outs of a port, all in milliseconds. A read of n bytes ends at the latest
// after read_timeout_constant + n * read_timeout_multiplier (both 0: no total
// limit), or when inter_byte_timeout passes between two received bytes (0: no
// gap limit). kMax as the gap limit with both read parts 0 makes a read return at
// once with what is already received. Writes likewise with the write parts.
struct Timeout
{
    static constexpr uint32_t kMax = std::numeric_limits<uint32_t>::max();

    // A read returns when the requested bytes are in or t ms after it began; a
    // write ends at the latest after t ms.
    static Timeout simpleTimeout(uint32_t t) { return Timeout(kMax, t, 0, t, 0); }

    explicit Timeout(uint32_t interByte = 0, uint32_t readConstant = 0, uint32_t readMultiplier = 0,
                     uint32_t writeConstant = 0, uint32_t writeMultiplier = 0)
        : inter_byte_timeout(interByte),
          read_timeout_constant(readConstant),
          read_timeout_multiplier(readMultiplier),
          write_timeout_constant(writeConstant),
          write_timeout_multiplier(writeMultiplier)
    {
    }

    uint32_t inter_byte_timeout;
    uint32_t read_timeout_constant;
    uint32_t read_timeout_multiplier;
    uint32_t write_timeout_constant;
    uint32_t write_timeout_multiplier;
};

} // namespace serial
