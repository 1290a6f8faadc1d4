#include "serial/PortNotOpenedException.h"

namespace serial {

PortNotOpenedException::PortNotOpenedException(const char* operation)
    : m_message("PortNotOpenedException " + std::string(operation) + " failed.")
{
}

const char* PortNotOpenedException::what() const noexcept
{
    return m_message.c_str();
}

} // namespace serial
