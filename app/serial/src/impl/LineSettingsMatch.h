#pragma once

#include <termios.h>

namespace serial {

// The input flags of software flow control.
constexpr tcflag_t kSoftwareFlowFlags = IXON | IXOFF | IXANY;

// Whether the settings a driver holds are the line settings that were asked of
// it: rate, data bits, parity, stop bits and flow control. A driver may accept
// tcsetattr and still keep some of its own values, and tcsetattr reports success
// when any one change took effect.
bool lineSettingsMatch(const struct termios& wanted, const struct termios& applied);

} // namespace serial
