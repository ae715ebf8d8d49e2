#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "engine/tables/equip_database.h"
#include "platform/program_layout.h"

// Exit codes of kestrova-cli.
constexpr int kExitOk = 0;
constexpr int kExitLoadFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitFailed = 1;        // a search, a file read or write failed, or memory ran out
constexpr int kExitInterrupted = 130; // Ctrl-C: the sets found so far were still printed

// What every command shares: the data folder option and the loading of the tables.
struct CliContext {
    std::string dataFolder; // empty: the tables folder of the program's layout

    platform::ProgramLayout Layout() const;
    // The folder the tables are read from, ending in '/': --data when given, else the layout's.
    std::string TablesFolder() const;
    // Loads the tables into `database`; on failure prints the load-failure message and returns
    // false.
    bool Load(CEquipDatabase& database) const;
};

// Thrown by a command to end the program with a message on stderr and an exit code.
struct CliExit {
    int code;
    std::string message;
};

// Each command registers its subcommand and the callback that runs it.
void AddTablesCommand(CLI::App& app, CliContext& context);
void AddSkillsCommand(CLI::App& app, CliContext& context);
void AddSearchCommand(CLI::App& app, CliContext& context);
void AddRefineCommand(CLI::App& app, CliContext& context);
void AddShowCommand(CLI::App& app, CliContext& context);
void AddExtraSkillsCommand(CLI::App& app, CliContext& context);
void AddPathsCommand(CLI::App& app, CliContext& context);
