#include "serial/IOException.h"

namespace serial {

IOException::IOException(std::string file, int line, const char* description)
    : m_file(std::move(file)),
      m_line(line),
      m_message("IO Exception: " + std::string(description) + ", file " + m_file + ", line " + std::to_string(line) + ".")
{
}

const char* IOException::what() const noexcept
{
    return m_message.c_str();
}

} // namespace serial
