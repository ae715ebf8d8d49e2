#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>

namespace platform {

// Where the program reads its data tables and keeps the player's four files (Config.dat,
// Fixed.dat, Exclude.dat, OwnEquip.dat). Every folder ends in '/'.
//
// Portable, when a data/ folder stands beside the executable: the tables come from it and the four
// files live beside the executable.
// Installed, otherwise: the tables come from the player's own $XDG_DATA_HOME/kestrova/data/ when
// it holds every table, else from the first folder holding every table among
// <executable>/../share/kestrova/data/ and <each of $XDG_DATA_DIRS>/kestrova/data/ (the first of
// these when none does, so that the failed load names a sensible place); the four files live in
// $XDG_CONFIG_HOME/kestrova/.
struct ProgramLayout {
    bool installed = false;
    std::string dataFolder;
    // Installed only: where the player's own tables would take precedence.
    std::string userDataFolder;
    std::string filesFolder;
};

// The value of an environment variable; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

// Decides the layout of an executable in `programFolder` (ending in '/'; empty when unknown).
// `tableFiles` names the files a data folder must hold to be chosen in the installed layout.
ProgramLayout DecideLayout(const std::string& programFolder, const EnvironmentLookup& environment,
                           std::span<const char* const> tableFiles);

// The layout of the running program, from its own folder and the process environment. An unset
// HOME is taken from the user's password-database entry.
ProgramLayout CurrentLayout(std::span<const char* const> tableFiles);

// Creates the folder of the four files, and its missing parents, readable by the user alone.
// True when the folder exists afterwards.
bool CreateFilesFolder(const ProgramLayout& layout);

} // namespace platform
