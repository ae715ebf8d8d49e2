#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using Bytes = std::vector<std::uint8_t>;

// Appends little-endian integers and zero-filled fixed text fields to a byte buffer.
class ByteWriter {
public:
    void Int32(std::int32_t value);
    void UInt32(std::uint32_t value);
    // Writes `width` bytes: the text up to its NUL (at most width - 1 bytes, so the field always
    // keeps a terminator), then zeros.
    void Text(std::string_view text, std::size_t width);
    void Zeros(std::size_t count);

    const Bytes& bytes() const { return bytes_; }
    Bytes Take() { return std::move(bytes_); }

private:
    Bytes bytes_;
};

// Reads little-endian integers and fixed text fields; every read fails cleanly at the end.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const Bytes& bytes) : ByteReader(bytes.data(), bytes.size()) {}

    bool Int32(std::int32_t& value);
    bool UInt32(std::uint32_t& value);
    // Reads a `width`-byte field; the text ends at the first NUL or at the end of the field.
    bool Text(std::string& text, std::size_t width);
    bool Skip(std::size_t count);

    std::size_t Remaining() const { return size_ - offset_; }
    std::size_t Offset() const { return offset_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

// Reads a whole regular file (see OpenRegularFile). Returns false when it cannot be opened or
// read, or is larger than `maxSize` (so a foreign huge file never costs unbounded memory).
bool ReadWholeFile(const std::string& path, Bytes& out, std::size_t maxSize = 64u << 20);

// The same read, telling a file that is not there from one that is there but cannot be read (no
// permission, not a regular file, a read error, too large): an optional file may be absent, but
// one that exists and cannot be used is a failure to report.
enum class ReadStatus { kRead, kAbsent, kUnreadable };
ReadStatus ReadWholeFileStatus(const std::string& path, Bytes& out,
                               std::size_t maxSize = 64u << 20);

// Appends to `out` the next bytes of an open file, `count` of them or fewer at its end. False on
// a read error.
bool ReadUpTo(std::FILE* file, std::size_t count, Bytes& out);

} // namespace platform
