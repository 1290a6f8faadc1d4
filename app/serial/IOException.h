#pragma once

#include <exception>
#include <string>

namespace serial {

// A failure of the operating system while opening, configuring, reading or
// writing a port. Carries the source position of the statement that threw.
class IOException : public std::exception
{
public:
    IOException(std::string file, int line, const char* description);

    const char* what() const noexcept override;
    const std::string& getFile() const { return m_file; }
    int getLine() const { return m_line; }

private:
    std::string m_file;
    int m_line;
    std::string m_message;
};

} // namespace serial

#define THROW_SERIAL_IO(description) throw ::serial::IOException(__FILE__, __LINE__, (description))
