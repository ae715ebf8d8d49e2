#include "platform/safe_save.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

std::size_t g_faultAfter = SIZE_MAX;

bool WriteAll(int fd, const Bytes& bytes) {
    std::size_t limit = bytes.size();
    const bool faulty = g_faultAfter < limit || (g_faultAfter != SIZE_MAX && bytes.empty());
    if (faulty) {
        limit = g_faultAfter;
    }
    std::size_t done = 0;
    while (done < limit) {
        const ssize_t written = ::write(fd, bytes.data() + done, limit - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return !faulty;
}

std::string TemporaryPattern(const std::string& path) {
    return path + ".tmp-XXXXXX";
}

} // namespace

void InjectSaveFaultAfter(std::size_t bytes) {
    g_faultAfter = bytes;
}

bool SafeSave(const std::string& path, const Bytes& bytes) {
    std::string pattern = TemporaryPattern(path);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return false;
    }
    ::fchmod(fd, 0644);
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(name.data(), path.c_str()) != 0) {
        ::unlink(name.data());
        return false;
    }
    return true;
}

} // namespace platform
