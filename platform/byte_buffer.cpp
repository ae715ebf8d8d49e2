#include "platform/byte_buffer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace platform {

void ByteWriter::Int32(std::int32_t value) {
    UInt32(static_cast<std::uint32_t>(value));
}

void ByteWriter::UInt32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void ByteWriter::Text(std::string_view text, std::size_t width) {
    if (width == 0) {
        return;
    }
    const std::size_t end = std::min(text.find('\0'), text.size());
    const std::size_t length = std::min(end, width - 1);
    bytes_.insert(bytes_.end(), text.begin(), text.begin() + length);
    Zeros(width - length);
}

void ByteWriter::Zeros(std::size_t count) {
    bytes_.insert(bytes_.end(), count, 0);
}

bool ByteReader::UInt32(std::uint32_t& value) {
    if (Remaining() < 4) {
        return false;
    }
    value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(data_[offset_ + i]) << (8 * i);
    }
    offset_ += 4;
    return true;
}

bool ByteReader::Int32(std::int32_t& value) {
    std::uint32_t raw = 0;
    if (!UInt32(raw)) {
        return false;
    }
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool ByteReader::Text(std::string& text, std::size_t width) {
    if (Remaining() < width) {
        return false;
    }
    const char* field = reinterpret_cast<const char*>(data_ + offset_);
    text.assign(field, strnlen(field, width));
    offset_ += width;
    return true;
}

bool ByteReader::Skip(std::size_t count) {
    if (Remaining() < count) {
        return false;
    }
    offset_ += count;
    return true;
}

bool ReadWholeFile(const std::string& path, Bytes& out, std::size_t maxSize) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        return false;
    }
    Bytes bytes;
    std::uint8_t chunk[8192];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        if (bytes.size() + got > maxSize) {
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (std::ferror(file.get())) {
        return false;
    }
    out = std::move(bytes);
    return true;
}

} // namespace platform
