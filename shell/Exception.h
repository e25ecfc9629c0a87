// The one error type of both programs: a failure that ends the current action and is shown to the user.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace shell {

class Exception : public std::exception {
public:
    explicit Exception(std::string message)
        : message_(std::move(message))
    {
    }

    // UTF-8 text meant for the user.
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& message() const noexcept { return message_; }

private:
    std::string message_;
};

}  // namespace shell
