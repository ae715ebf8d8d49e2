#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A text followed by room that may be read past its end, so that a record copies it in whole
// blocks of kBlock bytes: a listing copies the same few names millions of times, each too short
// for a call of memcpy to pay for itself.
class PaddedText {
public:
    static constexpr std::size_t kBlock = 64;

    PaddedText() = default;
    explicit PaddedText(std::string_view text) : bytes_(text), size_(text.size()) {
        bytes_.append(kBlock, '\0');
    }

    const char* data() const { return bytes_.data(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::string_view View() const { return {bytes_.data(), size_}; }

private:
    std::string bytes_;
    std::size_t size_ = 0;
};
