#pragma once

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "cli/padded_text.h"

// The text of every number a set shows nearly always, made once for all of them.
namespace small_numbers {

constexpr int kLimit = 1000; // the numbers above -kLimit and below kLimit
// A number's sign and digits, read whole however few they are.
struct Text {
    char text[4] = {};
    std::uint8_t size = 0;
};
using Table = std::array<Text, 2 * kLimit - 1>;

constexpr Table Texts() {
    Table texts{};
    for (int value = 1 - kLimit; value < kLimit; ++value) {
        Text& number = texts[static_cast<std::size_t>(value + kLimit - 1)];
        int rest = value < 0 ? -value : value;
        char digits[3] = {};
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (value < 0) {
            number.text[number.size++] = '-';
        }
        while (count > 0) {
            number.text[number.size++] = digits[--count];
        }
    }
    return texts;
}
inline constexpr Table kTexts = Texts();

} // namespace small_numbers

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
    // Digits as the C locale writes them, whatever the locale of the process.
    void AppendNumber(long long value) {
        Reserve(kNumberRoom);
        end_ = WriteNumber(end_, value);
    }
    // Passes a full block on; called between records, so that the stream sees few large writes.
    void FlushWhenFull() {
        if (end_ - block_.data() >= static_cast<std::ptrdiff_t>(kBlockSize)) {
            Flush();
        }
    }
    void Flush();

    static constexpr std::size_t kNumberRoom = 20; // the digits and sign of any long long

    // A record of at most `most` bytes, written straight into the block through a pointer of
    // its own: the compiler keeps that in a register, where the buffer's end, which any byte
    // written might alias, is loaded and stored again around every piece of text. Padded texts
    // are copied a whole block at a time, past the end of what they hold, into room kept for it.
    class Record {
    public:
        Record(OutputBuffer& buffer, std::size_t most) : buffer_(buffer) {
            buffer.Reserve(most + PaddedText::kBlock);
            at_ = buffer.end_;
        }
        ~Record() { buffer_.end_ = at_; }
        Record(const Record&) = delete;
        Record& operator=(const Record&) = delete;

        // An empty view may hold no pointer at all, which memcpy must not be given.
        void Put(std::string_view text) {
            if (!text.empty()) {
                std::memcpy(at_, text.data(), text.size());
                at_ += text.size();
            }
        }
        // The padded text from its byte `from` on. Most texts fit one block, which is copied
        // before any test: a written padded text holds a block of room past any byte.
        void Put(const PaddedText& text, std::size_t from = 0) {
            const char* bytes = text.data() + from;
            const std::size_t size = text.size() - from;
            std::memcpy(at_, bytes, PaddedText::kBlock);
            for (std::size_t at = PaddedText::kBlock; at < size; at += PaddedText::kBlock) {
                std::memcpy(at_ + at, bytes + at, PaddedText::kBlock);
            }
            at_ += size;
        }
        void PutNumber(long long value) { at_ = WriteNumber(at_, value); }
        // A short text whose bytes may be read `Readable` past its start, copied in one step of
        // that size: a general copy of a few bytes cost more than the bytes.
        template <std::size_t Readable> void PutReadable(std::string_view text) {
            std::memcpy(at_, text.data(), Readable);
            at_ += text.size();
        }

    private:
        OutputBuffer& buffer_;
        char* at_;
    };

private:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

    // The numbers of a set (defence, resistances, free slots) have one to three digits: their
    // texts are copied from a table instead of converted. `at` has room for kNumberRoom bytes.
    static char* WriteNumber(char* at, long long value) {
        if (value <= -small_numbers::kLimit || value >= small_numbers::kLimit) {
            return std::to_chars(at, at + kNumberRoom, value).ptr;
        }
        const small_numbers::Text& number =
            small_numbers::kTexts[static_cast<std::size_t>(value + small_numbers::kLimit - 1)];
        std::memcpy(at, number.text, sizeof number.text);
        return at + number.size;
    }

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
