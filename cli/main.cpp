#include <cstdio>

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "cli/list_commands.h"

int main(int argc, char** argv) {
    CLI::App app{"Kestrova: finds every armour set that activates the chosen skills.",
                 "kestrova-cli"};
    app.require_subcommand(1);
    CliContext context;
    app.add_option(
        "--data", context.dataFolder,
        "Folder holding the seven data tables (default: the one the paths command shows)");

    AddTablesCommand(app, context);
    AddSkillsCommand(app, context);
    AddListCommand(app, context);
    AddImportCommand(app, context);
    AddSearchCommand(app, context);
    AddRefineCommand(app, context);
    AddShowCommand(app, context);
    AddPathsCommand(app, context);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? kExitOk : kExitUsage;
    } catch (const CliExit& exit) {
        if (!exit.message.empty()) {
            std::fprintf(stderr, "%s\n", exit.message.c_str());
        }
        return exit.code;
    }
    return kExitOk;
}
