#include "platform/save_failure.h"

namespace platform {

void TellSaveFailure(MessageSink& sink, std::string_view message, const std::string& path,
                     const SaveResult& result) {
    sink.ShowWithDetail(message, path + ": " + result.cause);
}

bool SaveOrTell(const std::string& path, const Bytes& bytes, MessageSink& sink,
                std::string_view message) {
    const SaveResult saved = SafeSave(path, bytes);
    if (!saved) {
        TellSaveFailure(sink, message, path, saved);
    }
    return static_cast<bool>(saved);
}

} // namespace platform
