#pragma once

#include <exception>
#include <string>

namespace serial {

// Raised only by opening a port that is already open.
class SerialException : public std::exception
{
public:
    explicit SerialException(const char* description);

    const char* what() const noexcept override;

private:
    std::string m_message;
};

} // namespace serial
