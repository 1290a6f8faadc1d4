#pragma once

#include <cstdint>

// The line settings of a port. Callers pass them as numbers, so the values are
// fixed and a value outside the named ones is possible (and rejected when the
// settings are applied).
namespace serial {

enum ByteSize : uint32_t { fivebits = 5, sixbits = 6, sevenbits = 7, eightbits = 8 };

enum Parity : uint32_t { parity_none = 0, parity_odd = 1, parity_even = 2, parity_mark = 3, parity_space = 4 };

enum StopBits : uint32_t { stopbits_one = 1, stopbits_two = 2, stopbits_one_point_five = 3 };

enum FlowControl : uint32_t { flowcontrol_none = 0, flowcontrol_software = 1, flowcontrol_hardware = 2 };

} // namespace serial
