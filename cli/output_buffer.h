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

    void Append(std::string_view text) {
        Reserve(text.size());
        std::memcpy(block_.data() + size_, text.data(), text.size());
        size_ += text.size();
    }
    // Digits as the C locale writes them, whatever the locale of the process.
    void AppendNumber(long long value) {
        Reserve(kNumberRoom);
        char* begin = block_.data() + size_;
        size_ +=
            static_cast<std::size_t>(std::to_chars(begin, begin + kNumberRoom, value).ptr - begin);
    }
    // Passes a full block on; called between records, so that the stream sees few large writes.
    void FlushWhenFull() {
        if (size_ >= kBlockSize) {
            Flush();
        }
    }
    void Flush();

private:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;
    static constexpr std::size_t kNumberRoom = 20; // the digits and sign of any long long

    void Reserve(std::size_t more) {
        if (block_.size() - size_ < more) {
            block_.resize(size_ + more);
        }
    }

    std::FILE* out_;
    std::vector<char> block_;
    std::size_t size_ = 0;
};
