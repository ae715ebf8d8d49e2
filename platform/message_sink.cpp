#include "platform/message_sink.h"

#include <cstdio>

namespace platform {

void StderrSink::Show(std::string_view text) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

} // namespace platform
