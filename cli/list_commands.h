#pragma once

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

// `list FILE`: the entries of a fixed-set, excluded-list or owned-list file.
void AddListCommand(CLI::App& app, CliContext& context);
// `import SETTINGS.csv [--eqe OUT] [--eqo OUT]`: the list files a foreign settings file gives.
void AddImportCommand(CLI::App& app, CliContext& context);
