#include "platform/byte_buffer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "platform/regular_file.h"

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

bool ReadUpTo(std::FILE* file, std::size_t count, Bytes& out) {
    std::uint8_t chunk[8192];
    while (count > 0) {
        const std::size_t got = std::fread(chunk, 1, std::min(count, sizeof chunk), file);
        out.insert(out.end(), chunk, chunk + got);
        count -= got;
        if (got == 0) {
            break;
        }
    }
    return !std::ferror(file);
}

bool ReadWholeFile(const std::string& path, Bytes& out, std::size_t maxSize) {
    return ReadWholeFileStatus(path, out, maxSize) == ReadStatus::kRead;
}

ReadStatus ReadWholeFileStatus(const std::string& path, Bytes& out, std::size_t maxSize) {
    FileHandle file = OpenRegularFile(path);
    if (!file) {
        // Asked once more, as opening may have failed for another reason than the name.
        struct stat status = {};
        const bool absent =
            ::stat(path.c_str(), &status) != 0 && (errno == ENOENT || errno == ENOTDIR);
        return absent ? ReadStatus::kAbsent : ReadStatus::kUnreadable;
    }
    // One byte more than allowed tells a file at the limit from a larger one.
    const std::size_t wanted = maxSize == SIZE_MAX ? maxSize : maxSize + 1;
    Bytes bytes;
    if (!ReadUpTo(file.get(), wanted, bytes) || bytes.size() > maxSize) {
        return ReadStatus::kUnreadable;
    }
    out = std::move(bytes);
    return ReadStatus::kRead;
}

} // namespace platform
