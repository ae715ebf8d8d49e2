#include "platform/line_reader.h"

#include <algorithm>

namespace platform {
namespace {
constexpr int kNone = EOF - 1;
}

bool LineReader::BlockIsEmpty() {
    if (next_ == filled_) {
        filled_ = std::fread(block_, 1, sizeof block_, file_);
        next_ = 0;
    }
    return filled_ == 0;
}

void LineReader::AppendPlainRun(std::string& piece) {
    if (pending_ != kNone || BlockIsEmpty()) {
        return;
    }
    const char* const start = block_ + next_;
    const char* const limit = start + std::min(filled_ - next_, kMaxPiece - piece.size());
    const char* end = start;
    while (end != limit && *end != '\r' && *end != '\n') {
        ++end;
    }
    piece.append(start, end);
    next_ += static_cast<std::size_t>(end - start);
}

int LineReader::ReadByte() {
    int byte = pending_;
    pending_ = kNone;
    if (byte == kNone) {
        byte = FetchByte();
    }
    // A held-back byte may itself be a CR that starts a CR LF pair ("\r\r\n" reads as "\r\n").
    if (byte == '\r') {
        const int next = FetchByte();
        if (next == '\n') {
            return '\n';
        }
        pending_ = next;
    }
    return byte;
}

bool LineReader::Next(std::string& piece) {
    piece.clear();
    piece.reserve(kMaxPiece);
    while (piece.size() < kMaxPiece) {
        AppendPlainRun(piece);
        if (piece.size() == kMaxPiece) {
            break;
        }
        const int byte = ReadByte();
        if (byte == EOF) {
            break;
        }
        piece.push_back(static_cast<char>(byte));
        if (byte == '\n') {
            break;
        }
    }
    return !piece.empty();
}

} // namespace platform
