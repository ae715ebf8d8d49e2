#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace platform {

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Opens `path` for binary reading when it names a regular file (links followed); anything else
// gives a null handle, as a missing file does. A FIFO would block the open until some other
// program writes to it, a device such as /dev/zero never ends, and a folder opens but cannot be
// read: none of them is a file the program could have written.
FileHandle OpenRegularFile(const std::string& path);

} // namespace platform
