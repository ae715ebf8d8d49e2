#include "platform/safe_save.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace platform {
namespace {

namespace fs = std::filesystem;

std::size_t g_faultAfter = SIZE_MAX;

// Temporary files are named after their target: "<name>.tmp-" and six letters or digits.
constexpr char kTemporaryMark[] = ".tmp-";
constexpr std::size_t kTemporaryLetters = 6;
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// A temporary file this old belongs to no save still running: a save takes milliseconds.
constexpr auto kStaleAfter = std::chrono::minutes(1);
// As the system's own path resolution gives up on a loop of links.
constexpr int kMaxLinks = 40;

// The system's text for an error number, as strerror gives it.
std::string CauseOf(int error) {
    return std::generic_category().message(error);
}

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
    if (faulty) {
        errno = ENOSPC;
    }
    return !faulty;
}

// The file a path finally names when its last part is a symbolic link (the link may dangle: the
// file it names is then created). Empty for a path that names a file, else why it names none.
std::string FollowLinks(const std::string& path, fs::path& target) {
    target = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(target, error))) {
            return {};
        }
        const fs::path next = fs::read_symlink(target, error);
        if (error) {
            return error.message();
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return CauseOf(ELOOP);
}

bool IsOwnTemporary(const std::string& name, const std::string& targetName) {
    const std::string prefix = targetName + kTemporaryMark;
    if (name.size() != prefix.size() + kTemporaryLetters ||
        name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    return name.find_first_not_of(kLetters, prefix.size()) == std::string::npos;
}

// A save killed between creating its temporary file and the rename leaves that file behind; the
// next save of the same target clears it away.
void RemoveStaleTemporaries(const fs::path& target) {
    std::error_code error;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string targetName = target.filename().string();
    const auto now = fs::file_time_type::clock::now();
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        std::error_code entryError;
        if (IsOwnTemporary(entry.path().filename().string(), targetName) &&
            entry.is_regular_file(entryError) &&
            now - entry.last_write_time(entryError) > kStaleAfter && !entryError) {
            fs::remove(entry.path(), entryError);
        }
    }
}

// Creates the temporary file with the permissions a new file gets, so the umask applies.
int CreateTemporary(const fs::path& target, std::string& name) {
    static std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target.string() + kTemporaryMark;
        for (std::size_t i = 0; i < kTemporaryLetters; ++i) {
            name += kLetters[letter(random)];
        }
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Why an existing file may not be replaced, or empty when it may. A file without any write
// permission is read-only on purpose, even for the superuser, whom the permissions themselves do
// not stop.
std::string WhyNotReplaceable(const fs::path& target, const struct stat& status) {
    if (S_ISDIR(status.st_mode)) {
        return CauseOf(EISDIR);
    }
    if (!S_ISREG(status.st_mode)) {
        return "not a regular file";
    }
    if ((status.st_mode & 0222) == 0) {
        return CauseOf(EACCES);
    }
    return ::access(target.c_str(), W_OK) == 0 ? std::string() : CauseOf(errno);
}

// Best effort: the rename is done, and a folder that cannot be flushed does not undo it.
void SyncFolderOf(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void InjectSaveFaultAfter(std::size_t bytes) {
    g_faultAfter = bytes;
}

SaveResult SafeSave(const std::string& path, const Bytes& bytes) {
    fs::path target;
    if (std::string cause = FollowLinks(path, target); !cause.empty()) {
        return {std::move(cause)};
    }
    struct stat previous = {};
    const bool replacing = ::stat(target.c_str(), &previous) == 0;
    if (replacing) {
        if (std::string cause = WhyNotReplaceable(target, previous); !cause.empty()) {
            return {std::move(cause)};
        }
    }
    RemoveStaleTemporaries(target);
    std::string name;
    const int fd = CreateTemporary(target, name);
    if (fd < 0) {
        return {CauseOf(errno)};
    }
    // The owner first: changing it may clear the set-id bits the mode then restores. An owner
    // the system does not let us give is no reason to fail; a mode that cannot be kept is, as the
    // new file could then be readable by more people than the old one.
    if (replacing) {
        [[maybe_unused]] const int owned = ::fchown(fd, previous.st_uid, previous.st_gid);
    }
    const bool written = (!replacing || ::fchmod(fd, previous.st_mode & 07777) == 0) &&
                         WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && std::rename(name.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(name.c_str());
        return {CauseOf(error)};
    }
    SyncFolderOf(target);
    return {};
}

} // namespace platform
