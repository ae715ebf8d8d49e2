#include "platform/program_layout.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/program_folder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDefaultSystemDataFolders = "/usr/local/share/:/usr/share/";

// A folder named by an XDG variable counts only when it is absolute: an empty or relative value
// is ignored, as if the variable were not set.
std::optional<fs::path> AbsoluteFolder(const std::optional<std::string>& value) {
    if (!value || value->empty() || value->front() != '/') {
        return std::nullopt;
    }
    return fs::path(*value);
}

std::string AsFolder(const fs::path& path) {
    std::string text = path.lexically_normal().string();
    if (text.empty() || text.back() != '/') {
        text += '/';
    }
    return text;
}

// An unknown home puts the defaults under the root, where a normal user cannot write: the saves
// then fail with their message instead of landing in a guessed place.
fs::path BaseFolder(const EnvironmentLookup& environment, const char* variable,
                    const char* belowHome) {
    if (std::optional<fs::path> folder = AbsoluteFolder(environment(variable))) {
        return *folder;
    }
    return AbsoluteFolder(environment("HOME")).value_or("/") / belowHome;
}

std::vector<fs::path> SystemDataFolders(const EnvironmentLookup& environment) {
    std::string list = environment("XDG_DATA_DIRS").value_or("");
    if (list.empty()) {
        list = kDefaultSystemDataFolders;
    }
    std::vector<fs::path> folders;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t colon = list.find(':', start);
        const std::size_t end = colon == std::string::npos ? list.size() : colon;
        if (std::optional<fs::path> folder = AbsoluteFolder(list.substr(start, end - start))) {
            folders.push_back(*folder);
        }
        start = end + 1;
    }
    return folders;
}

bool HoldsTables(const std::string& folder, std::span<const char* const> tableFiles) {
    std::error_code error;
    for (const char* file : tableFiles) {
        if (!fs::is_regular_file(folder + file, error)) {
            return false;
        }
    }
    return true;
}

std::string InstalledDataFolder(const std::string& programFolder,
                                const EnvironmentLookup& environment,
                                std::span<const char* const> tableFiles,
                                const std::string& userDataFolder) {
    if (HoldsTables(userDataFolder, tableFiles)) {
        return userDataFolder;
    }
    std::vector<std::string> candidates;
    // Relative to the executable first, so that a package unpacked under any prefix finds its own
    // tables before those of another installation.
    if (!programFolder.empty()) {
        candidates.push_back(AsFolder(fs::path(programFolder) / "../share/kestrova/data"));
    }
    for (const fs::path& folder : SystemDataFolders(environment)) {
        candidates.push_back(AsFolder(folder / "kestrova/data"));
    }
    for (const std::string& candidate : candidates) {
        if (HoldsTables(candidate, tableFiles)) {
            return candidate;
        }
    }
    return candidates.empty() ? userDataFolder : candidates.front();
}

std::optional<std::string> PasswordDatabaseHome() {
    const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir) {
        return std::nullopt;
    }
    return std::string(found->pw_dir);
}

std::optional<std::string> ProcessVariable(const std::string& name) {
    if (const char* value = std::getenv(name.c_str()); value && *value) {
        return std::string(value);
    }
    if (name == "HOME") {
        return PasswordDatabaseHome();
    }
    return std::nullopt;
}

} // namespace

ProgramLayout DecideLayout(const std::string& programFolder, const EnvironmentLookup& environment,
                           std::span<const char* const> tableFiles) {
    std::error_code error;
    if (!programFolder.empty() && fs::is_directory(programFolder + "data", error)) {
        return {false, programFolder + "data/", {}, programFolder};
    }
    ProgramLayout layout;
    layout.installed = true;
    layout.userDataFolder =
        AsFolder(BaseFolder(environment, "XDG_DATA_HOME", ".local/share") / "kestrova/data");
    layout.dataFolder =
        InstalledDataFolder(programFolder, environment, tableFiles, layout.userDataFolder);
    layout.filesFolder =
        AsFolder(BaseFolder(environment, "XDG_CONFIG_HOME", ".config") / "kestrova");
    return layout;
}

ProgramLayout CurrentLayout(std::span<const char* const> tableFiles) {
    return DecideLayout(ProgramFolder(), ProcessVariable, tableFiles);
}

bool CreateFilesFolder(const ProgramLayout& layout) {
    fs::path partial;
    for (const fs::path& part : fs::path(layout.filesFolder)) {
        partial /= part;
        if (!part.empty()) {
            // A folder that exists already refuses; the check below decides.
            ::mkdir(partial.c_str(), 0700);
        }
    }
    std::error_code error;
    return !layout.filesFolder.empty() && fs::is_directory(layout.filesFolder, error);
}

} // namespace platform
