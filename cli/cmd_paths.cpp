#include <cstdio>

#include "cli/cli_context.h"
#include "config/config_data.h"
#include "lists/list_paths.h"

void AddPathsCommand(CLI::App& app, CliContext& context) {
    CLI::App* command = app.add_subcommand(
        "paths", "Print where the tables are read from and where the window keeps its settings "
                 "and equipment lists");
    command->callback([&context] {
        const platform::ProgramLayout layout = context.Layout();
        std::printf("layout\t%s\n", layout.installed ? "installed" : "portable");
        std::printf("tables\t%s\n", context.TablesFolder().c_str());
        if (layout.installed) {
            std::printf("own tables\t%s\n", layout.userDataFolder.c_str());
        }
        const std::string& files = layout.filesFolder;
        for (const std::string& path : {ConfigPath(files), FixedSetPath(files),
                                        ExcludedListPath(files), OwnedListPath(files)}) {
            const std::size_t slash = path.rfind('/');
            std::printf("%s\t%s\n", path.substr(slash + 1).c_str(), path.c_str());
        }
    });
}
