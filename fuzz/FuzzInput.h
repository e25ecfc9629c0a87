// Reads typed values from a fuzzer's byte string; past its end every read gives zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : data_(data)
        , size_(size)
    {
    }

    template <typename T>
    T take()
    {
        T value{};
        const std::size_t count = sizeof(T) <= size_ - position_ ? sizeof(T) : size_ - position_;
        std::memcpy(&value, data_ + position_, count);
        position_ += count;
        return value;
    }

    bool exhausted() const { return position_ == size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};
