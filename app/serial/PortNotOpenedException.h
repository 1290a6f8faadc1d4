#pragma once

#include <exception>
#include <string>

namespace serial {

// An operation that needs an open port was called on a closed one.
class PortNotOpenedException : public std::exception
{
public:
    explicit PortNotOpenedException(const char* operation);

    const char* what() const noexcept override;

private:
    std::string m_message;
};

} // namespace serial
