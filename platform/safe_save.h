#pragma once

#include <cstddef>
#include <string>

#include "platform/byte_buffer.h"

namespace platform {

// Replaces `path` with `bytes` atomically: the bytes go to a temporary file in the same folder,
// which is flushed to disk and then renamed over the target, and the folder is flushed after the
// rename. On any failure the temporary file is removed, the previous file is left exactly as it
// was, and the result tells why, in the operating system's words where the failure came from it.
//
// The replaced file keeps what the user set on it: a symbolic link is written through to the
// file it names (and stays a link), the new file takes the old one's permissions (and its owner
// and group where the system allows), and a file the user may not write, or one that is not a
// regular file, is not replaced. A new file gets the permissions the process's umask gives.
// Temporary files an interrupted save of the same target left behind are removed.
struct SaveResult {
    std::string cause; // empty for a saved file

    explicit operator bool() const { return cause.empty(); }
};

SaveResult SafeSave(const std::string& path, const Bytes& bytes);

// Test support: makes every following save fail after writing `bytes` bytes of its temporary
// file, as a full disk would (and with its cause). SIZE_MAX (the default) turns the fault off.
void InjectSaveFaultAfter(std::size_t bytes);

} // namespace platform
