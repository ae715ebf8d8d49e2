#include "platform/line_reader.h"

namespace platform {
namespace {
constexpr int kNone = EOF - 1;
}

int LineReader::ReadByte() {
    int byte = pending_;
    pending_ = kNone;
    if (byte == kNone) {
        byte = std::fgetc(file_);
    }
    // A held-back byte may itself be a CR that starts a CR LF pair ("\r\r\n" reads as "\r\n").
    if (byte == '\r') {
        const int next = std::fgetc(file_);
        if (next == '\n') {
            return '\n';
        }
        pending_ = next;
    }
    return byte;
}

bool LineReader::Next(std::string& piece) {
    piece.clear();
    while (piece.size() < kMaxPiece) {
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
