#pragma once

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

// Output gathered in one large block and handed to the stream a block at a time: a listing
// writes hundreds of megabytes in pieces of a few bytes, and formatting each piece through the
// stream cost more than finding the sets.
class OutputBuffer {
public:
    explicit OutputBuffer(std::FILE* out);
    // Writes what is left.
    ~OutputBuffer();
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    // An empty view may hold no pointer at all, which memcpy must not be given.
    void Append(std::string_view text) {
        if (text.empty()) {
            return;
        }
        Reserve(text.size());
        std::memcpy(end_, text.data(), text.size());
        end_ += text.size();
    }
    // Digits as the C locale writes them, whatever the locale of the process. Most numbers of a
    // set (resistances, free slots) have one or two digits and skip the general conversion.
    void AppendNumber(long long value) {
        Reserve(kNumberRoom);
        if (value <= -100 || value >= 100) {
            end_ = std::to_chars(end_, end_ + kNumberRoom, value).ptr;
            return;
        }
        if (value < 0) {
            *end_++ = '-';
            value = -value;
        }
        if (value >= 10) {
            *end_++ = static_cast<char>('0' + value / 10);
        }
        *end_++ = static_cast<char>('0' + value % 10);
    }
    // Passes a full block on; called between records, so that the stream sees few large writes.
    void FlushWhenFull() {
        if (end_ - block_.data() >= static_cast<std::ptrdiff_t>(kBlockSize)) {
            Flush();
        }
    }
    void Flush();

private:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;
    static constexpr std::size_t kNumberRoom = 20; // the digits and sign of any long long

    void Reserve(std::size_t more) {
        if (static_cast<std::size_t>(limit_ - end_) < more) {
            Grow(more);
        }
    }
    void Grow(std::size_t more);

    std::FILE* out_;
    std::vector<char> block_;
    char* end_;   // where the next text goes
    char* limit_; // the end of the block
};
