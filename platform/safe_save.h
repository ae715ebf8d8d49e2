#pragma once

#include <cstddef>
#include <string>

#include "platform/byte_buffer.h"

namespace platform {

// Replaces `path` with `bytes` atomically: the bytes go to a temporary file in the same folder,
// which is flushed to disk and then renamed over the target. On any failure the temporary file is
// removed, the previous file is left exactly as it was, and false is returned.
bool SafeSave(const std::string& path, const Bytes& bytes);

// Test support: makes every following save fail after writing `bytes` bytes of its temporary
// file, as a full disk would. SIZE_MAX (the default) turns the fault off.
void InjectSaveFaultAfter(std::size_t bytes);

} // namespace platform
