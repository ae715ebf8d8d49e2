#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace platform {

// Reads a file the way a text-mode fgets with a 512-byte buffer does: a CR directly before an
// LF is dropped, a line comes in pieces of at most 511 bytes (the LF included in the last piece),
// and a final line without LF is still delivered. The file is read in blocks, so the reader owns
// the stream's position while it reads: rewind the stream before reading it again.
class LineReader {
public:
    static constexpr std::size_t kMaxPiece = 511;
    static constexpr std::size_t kBlockSize = 8192;

    explicit LineReader(std::FILE* file) : file_(file) {}

    // Fills `piece` with the next piece; false at the end of the file.
    bool Next(std::string& piece);

private:
    int ReadByte();
    // Appends the bytes up to the next CR or LF that the block already holds, as many as the
    // piece has room for: a byte at a time costs more than the tables' parsing.
    void AppendPlainRun(std::string& piece);
    bool BlockIsEmpty();
    int FetchByte() { return BlockIsEmpty() ? EOF : static_cast<unsigned char>(block_[next_++]); }

    std::FILE* file_;
    int pending_ = EOF - 1;
    std::size_t next_ = 0;
    std::size_t filled_ = 0;
    char block_[kBlockSize];
};

} // namespace platform
