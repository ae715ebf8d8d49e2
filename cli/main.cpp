#include <cstdio>

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "cli/list_commands.h"
#include "cli/path_option.h"
#include "platform/out_of_memory.h"

namespace {

// Whatever a command printed must have reached its destination: a full disk or a pipe closed
// early (when SIGPIPE is ignored) would otherwise end with success after a lost write.
int WithOutputChecked(int code) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "standard output could not be written\n");
        return kExitFailed;
    }
    return code;
}

// Every set a search keeps is held in memory until it is listed; a limit set high enough finds
// more than the system will give.
void ReportOutOfMemory() {
    std::fprintf(stderr, "not enough memory: the command stopped and nothing was saved; a lower "
                         "--max-display needs less (each listed set takes about 220 bytes)\n");
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"Kestrova: finds every armour set that activates the chosen skills.",
                 "kestrova-cli"};
    app.require_subcommand(1);
    CliContext context;
    app.add_option(
           "--data", context.dataFolder,
           "Folder holding the seven data tables (default: the one the paths command shows)")
        ->check(NonEmptyPath());

    AddTablesCommand(app, context);
    AddSkillsCommand(app, context);
    AddListCommand(app, context);
    AddImportCommand(app, context);
    AddSearchCommand(app, context);
    AddRefineCommand(app, context);
    AddShowCommand(app, context);
    AddExtraSkillsCommand(app, context);
    AddPathsCommand(app, context);

    int code = kExitOk;
    try {
        if (!platform::RunWithinMemory([&] { app.parse(argc, argv); })) {
            ReportOutOfMemory();
            code = kExitFailed;
        }
    } catch (const CLI::ParseError& error) {
        code = app.exit(error) == 0 ? kExitOk : kExitUsage;
    } catch (const CliExit& exit) {
        if (!exit.message.empty()) {
            std::fprintf(stderr, "%s\n", exit.message.c_str());
        }
        code = exit.code;
    }
    return WithOutputChecked(code);
}
