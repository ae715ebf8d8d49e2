#pragma once

#include <string>
#include <string_view>

#include "platform/byte_buffer.h"
#include "platform/message_sink.h"
#include "platform/safe_save.h"

namespace platform {

// Tells a failed save: the fixed `message`, then the file and the cause, "<path>: <cause>".
void TellSaveFailure(MessageSink& sink, std::string_view message, const std::string& path,
                     const SaveResult& result);

// Saves `bytes` to `path` with SafeSave; a failure is told with `message` and returns false.
bool SaveOrTell(const std::string& path, const Bytes& bytes, MessageSink& sink,
                std::string_view message);

} // namespace platform
