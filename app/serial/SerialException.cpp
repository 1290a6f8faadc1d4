#include "serial/SerialException.h"

namespace serial {

SerialException::SerialException(const char* description)
    : m_message("SerialException " + std::string(description) + " failed.")
{
}

const char* SerialException::what() const noexcept
{
    return m_message.c_str();
}

} // namespace serial
