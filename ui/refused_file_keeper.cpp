#include "ui/refused_file_keeper.h"

#include <filesystem>
#include <system_error>

namespace {

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// Adds a line to every message and remembers that one was shown.
class NotingSink final : public platform::MessageSink {
public:
    NotingSink(platform::MessageSink& shown, std::string note, bool& noted)
        : shown_(shown), note_(std::move(note)), noted_(noted) {}

    void Show(std::string_view text) override {
        noted_ = true;
        shown_.Show(std::string(text) + "\n" + note_);
    }

private:
    platform::MessageSink& shown_;
    std::string note_;
    bool& noted_;
};

// Past this many backups of one file something else is wrong; the save is refused then.
constexpr int kMaxBackups = 1000;

// Whether nothing stands at `path`. A name whose state cannot be told (the folder cannot be
// searched, the name is too long) is not free: a rename onto it could replace an older backup.
bool IsFree(const std::string& path) {
    std::error_code error;
    return !std::filesystem::exists(path, error) && !error;
}

} // namespace

RefusedFileKeeper::RefusedFileKeeper(std::string path, platform::MessageSink& sink)
    : path_(std::move(path)), sink_(sink) {}

std::string RefusedFileKeeper::FreeBackupPath() const {
    const std::string first = path_ + ".bak";
    for (int number = 1; number <= kMaxBackups; ++number) {
        std::string candidate = number == 1 ? first : first + "." + std::to_string(number);
        if (IsFree(candidate)) {
            return candidate;
        }
    }
    return {};
}

std::string RefusedFileKeeper::BackupName() const {
    return backupPath_.empty() ? path_ + ".bak" : backupPath_;
}

bool RefusedFileKeeper::Load(const std::optional<std::string>& path, const FileAction& read) {
    if (path) {
        return read(*path, sink_);
    }
    return Open([&](platform::MessageSink& sink) { return read(path_, sink); });
}

bool RefusedFileKeeper::Save(const std::optional<std::string>& path, const FileAction& write) {
    if (path) {
        return write(*path, sink_);
    }
    return BeforeSave() && write(path_, sink_);
}

bool RefusedFileKeeper::Open(const std::function<bool(platform::MessageSink&)>& read) {
    refused_ = false;
    backupPath_ = FreeBackupPath();
    NotingSink noting(sink_,
                      "元の" + FileName(path_) + "は保存の前に" + FileName(BackupName()) +
                          "として残します",
                      refused_);
    return read(noting);
}

bool RefusedFileKeeper::BeforeSave() {
    // A file gone since the opening has nothing left to keep.
    if (!refused_ || IsFree(path_)) {
        refused_ = false;
        return true;
    }
    if (backupPath_.empty() || !IsFree(backupPath_)) {
        backupPath_ = FreeBackupPath();
    }
    std::error_code error;
    if (!backupPath_.empty()) {
        std::filesystem::rename(path_, backupPath_, error);
    }
    if (backupPath_.empty() || error) {
        sink_.Show(FileName(path_) + "を" + FileName(BackupName()) +
                   "として残せなかったため保存しませんでした");
        return false;
    }
    refused_ = false;
    return true;
}
