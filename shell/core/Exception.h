// The error types of both programs: a failure that ends the current action and
// is shown to the user, and one that a single parameter caused.
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

// A failure that one parameter caused. The message says what is wrong with its
// value; it does not name the parameter, which each front end names its own
// way: `key` is the parameter as the programs know it ("arrival:1",
// "order:3"), which a window maps to its field and a command line to its option.
class KeyedError : public Exception {
public:
    KeyedError(std::string key, std::string message)
        : Exception(std::move(message))
        , key_(std::move(key))
    {
    }
    const std::string& key() const noexcept { return key_; }

private:
    std::string key_;
};

}  // namespace shell
