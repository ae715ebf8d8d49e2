#include "platform/message_sink.h"

#include <cstdio>
#include <string>

namespace platform {

void MessageSink::ShowWithDetail(std::string_view text, std::string_view detail) {
    std::string shown(text);
    shown += '\n';
    shown += detail;
    Show(shown);
}

void StderrSink::Show(std::string_view text) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

void StderrSink::ShowWithDetail(std::string_view text, std::string_view detail) {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(text.size()), text.data(),
                 static_cast<int>(detail.size()), detail.data());
}

} // namespace platform
