#include "serial/src/impl/LineSettingsMatch.h"

namespace serial {

namespace {

constexpr tcflag_t kControlFlags = CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS | CLOCAL | CREAD;

} // namespace

bool lineSettingsMatch(const struct termios& wanted, const struct termios& applied)
{
    return (applied.c_cflag & kControlFlags) == (wanted.c_cflag & kControlFlags)
           && (applied.c_iflag & kSoftwareFlowFlags) == (wanted.c_iflag & kSoftwareFlowFlags)
           && ::cfgetispeed(&applied) == ::cfgetispeed(&wanted) && ::cfgetospeed(&applied) == ::cfgetospeed(&wanted);
}

} // namespace serial
