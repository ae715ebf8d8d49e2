#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace platform {

// Reads a file the way a text-mode fgets with a 512-byte buffer does: a CR directly before an
// LF is dropped, a line comes in pieces of at most 511 bytes (the LF included in the last piece),
// and a final line without LF is still delivered.
class LineReader {
public:
    static constexpr std::size_t kMaxPiece = 511;

    explicit LineReader(std::FILE* file) : file_(file) {}

    // Fills `piece` with the next piece; false at the end of the file.
    bool Next(std::string& piece);

private:
    int ReadByte();

    std::FILE* file_;
    int pending_ = EOF - 1;
};

} // namespace platform
